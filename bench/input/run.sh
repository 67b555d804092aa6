#!/usr/bin/env bash
# run.sh [build dir] [runs]: loads a 4 MiB random image from an S-record and
# an Intel HEX file through the input plug-ins (load and walk of every byte)
# and reads the same files into a binary with GNU objcopy, in the same run,
# and prints the median times and their ratio (goal: at most 1.0).
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
runs=${2:-9}
bench=$build/bench/input_load_bench
[ -x "$bench" ] || { echo "build $bench first (cmake --build $build)"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
head -c 4194304 /dev/urandom > "$work/image.bin"
objcopy -I binary -O srec --srec-forceS3 "$work/image.bin" "$work/image.s19"
objcopy -I binary -O ihex "$work/image.bin" "$work/image.hex"

# Median wall time in microseconds of running the given command $runs times.
median_us() {
  local times=() start end
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    "$@" > /dev/null
    end=$(date +%s%N)
    times+=($(( (end - start) / 1000 )))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}

printf '%-6s %12s %12s %8s\n' format plug-in_ms objcopy_ms ratio
for pair in "s19 srec image.s19" "ihex ihex image.hex"; do
  set -- $pair
  format=$1 bfd=$2 file=$work/$3
  expected="4194304 bytes"
  "$bench" "$format" "$file" | grep -q "^$expected" || { echo "$format: the plug-in did not serve $expected"; exit 1; }
  ours=$(median_us "$bench" "$format" "$file")
  theirs=$(median_us objcopy -I "$bfd" -O binary "$file" "$work/out.bin")
  cmp -s "$work/out.bin" "$work/image.bin" || { echo "objcopy did not read $file back"; exit 1; }
  awk -v f="$format" -v a="$ours" -v b="$theirs" \
    'BEGIN { printf "%-6s %12.1f %12.1f %8.2f\n", f, a / 1000, b / 1000, a / b }'
done
