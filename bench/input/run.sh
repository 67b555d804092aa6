#!/usr/bin/env bash
# run.sh [build dir] [runs]: loads a 4 MiB random image from an S-record and
# an Intel HEX file through the input plug-ins and reads the same files into
# a binary with GNU objcopy, interleaved in the same run, and prints the
# median times and their ratios (goal: at most 1.0). "load+walk" is LoadFile
# and a walk over every byte, as a consumer does; "load" is LoadFile alone.
set -eu
top=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
runs=${2:-9}
bench=$build/bench/input_load_bench
[ -x "$bench" ] || { echo "build $bench first (cmake --build $build)"; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-bench-XXXXXX")
trap 'rm -rf "$work"' EXIT
. "$top/bench/common/timing.sh"
make_images "$work"

printf '%-6s %14s %10s %12s %16s %11s\n' format load+walk_ms load_ms objcopy_ms ratio_load+walk ratio_load
for pair in "s19 srec image.s19" "ihex ihex image.hex"; do
  set -- $pair
  format=$1 bfd=$2 file=$work/$3
  "$bench" "$format" "$file" | grep -q "^4194304 bytes" || { echo "$format: the plug-in did not serve the image"; exit 1; }
  walked=() loaded=() peer=()
  for ((i = 0; i < runs; i++)); do
    walked+=($(time_us "$bench" "$format" "$file"))
    loaded+=($(time_us "$bench" "$format" "$file" --no-walk))
    peer+=($(time_us objcopy -I "$bfd" -O binary "$file" "$work/out.bin"))
  done
  cmp -s "$work/out.bin" "$work/image.bin" || { echo "objcopy did not read $file back"; exit 1; }
  awk -v f="$format" -v w="$(median "${walked[@]}")" -v l="$(median "${loaded[@]}")" -v p="$(median "${peer[@]}")" \
    'BEGIN { printf "%-6s %14.1f %10.1f %12.1f %16.2f %11.2f\n", f, w / 1000, l / 1000, p / 1000, w / p, l / p }'
done
