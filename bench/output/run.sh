#!/usr/bin/env bash
# run.sh [build dir] [runs]: converts a 4 MiB random image from S-records to
# Intel HEX and back three ways, interleaved in the same run: through the
# plug-in chains (librd_s19.so into libwr_ihex.so, librd_ihex.so into
# libwr_s19.so: LoadFile, AttachToDLL, SaveAs), with GNU objcopy and with
# srecord's srec_cat, each writing 16 data bytes a record. Prints the median
# times and the ratios of the chain against objcopy (goal: at most 1.0) and
# srec_cat. Every output is read back by objcopy into the image.
#
# The writers flush after every record: one write system call a line. To
# weigh that, the chain runs once more with a preloaded fflush that does
# nothing ("no flush"), and the write calls of each tool are counted (the
# chain counts its own; the peers' are counted with strace when installed).
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
runs=${2:-9}
bench=$build/bench/output_chain_bench
noflush=$build/bench/liboutput_bench_no_flush.so
for f in "$bench" "$noflush"; do
  [ -e "$f" ] || { echo "build $f first (cmake --build $build)"; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
. "$top/bench/common/timing.sh"
make_images "$work"

# The commands of one conversion, by tool: chain, noflush, objcopy, srec_cat.
command_of() {
  local tool=$1 from=$2 to=$3
  local in=$work/image.$([ "$from" = s19 ] && echo s19 || echo hex)
  local out=$work/$tool.$([ "$to" = s19 ] && echo s19 || echo hex)
  local bfd_in=$([ "$from" = s19 ] && echo srec || echo ihex)
  local bfd_out=$([ "$to" = s19 ] && echo srec || echo ihex)
  case $tool in
    chain) echo "$bench $from $to $in $out" ;;
    noflush) echo "env LD_PRELOAD=$noflush $bench $from $to $in $out" ;;
    objcopy) echo "objcopy -I $bfd_in -O $bfd_out $([ "$to" = s19 ] && echo --srec-forceS3) $in $out" ;;
    srec_cat)
      echo "srec_cat $in $([ "$from" = s19 ] && echo -motorola || echo -intel)" \
        "-o $out $([ "$to" = s19 ] && echo -motorola -Address_Length 4 || echo -intel) -Output_Block_Size 16" ;;
  esac
}

tools="chain noflush objcopy srec_cat"
printf '%-12s %9s %11s %11s %12s %12s %13s %11s\n' conversion chain_ms noflush_ms objcopy_ms srec_cat_ms \
  ratio_objcopy ratio_srec_cat flush_share
for conversion in "s19 ihex" "ihex s19"; do
  set -- $conversion
  from=$1 to=$2
  declare -A times=()
  for ((i = 0; i < runs; i++)); do
    for tool in $tools; do
      times[$tool]+=" $(time_us $(command_of $tool $from $to))"
    done
  done
  bfd_out=$([ "$to" = s19 ] && echo srec || echo ihex)
  for tool in $tools; do
    out=$work/$tool.$([ "$to" = s19 ] && echo s19 || echo hex)
    objcopy -I "$bfd_out" -O binary "$out" "$work/back.bin"
    cmp -s "$work/back.bin" "$work/image.bin" || { echo "$tool: $from to $to did not keep the image"; exit 1; }
  done
  awk -v c="$from to $to" -v a="$(median ${times[chain]})" -v n="$(median ${times[noflush]})" \
    -v o="$(median ${times[objcopy]})" -v s="$(median ${times[srec_cat]})" \
    'BEGIN { printf "%-12s %9.1f %11.1f %11.1f %12.1f %12.2f %13.2f %10.0f%%\n",
             c, a / 1000, n / 1000, o / 1000, s / 1000, a / o, a / s, 100 * (a - n) / a }'
  unset times
done

echo
echo "write system calls:"
for conversion in "s19 ihex" "ihex s19"; do
  set -- $conversion
  line="  $1 to $2:"
  for tool in chain noflush; do
    line+=" $tool $($(command_of $tool $1 $2) | sed -n 's/.*, \([0-9]*\) write calls.*/\1/p'),"
  done
  for tool in objcopy srec_cat; do
    if command -v strace > /dev/null; then
      strace -f -c -e trace=write -o "$work/strace.txt" $(command_of $tool $1 $2)
      line+=" $tool $(awk '$NF == "write" { print $4 }' "$work/strace.txt"),"
    else
      line+=" $tool (no strace),"
    fi
  done
  echo "${line%,}"
done
