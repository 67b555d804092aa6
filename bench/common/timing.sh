# Shell helpers the benchmark scripts source: timing, medians and the random
# image they all convert.

# Wall time of one command in microseconds; its standard output is dropped.
time_us() {
  local start end
  start=$(date +%s%N)
  "$@" > /dev/null
  end=$(date +%s%N)
  echo $(( (end - start) / 1000 ))
}

median() {
  printf '%s\n' "$@" | sort -n | sed -n "$(( ($# + 1) / 2 ))p"
}

# make_images <folder>: image.bin, 4 MiB of random bytes from address 0, and
# the same image as image.s19 (S3 records) and image.hex, made by GNU objcopy.
make_images() {
  head -c 4194304 /dev/urandom > "$1/image.bin"
  objcopy -I binary -O srec --srec-forceS3 "$1/image.bin" "$1/image.s19"
  objcopy -I binary -O ihex "$1/image.bin" "$1/image.hex"
}
