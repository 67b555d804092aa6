#!/usr/bin/env bash
# run_fuzzer.sh <fuzzer> <seconds> <artifact dir> <dictionary or -> <corpus dir>...
# One bounded fuzz run in private folders; the committed corpora are only
# read. A crashing or slow input lands in the artifact folder: keep it as a
# regression case under tests/fuzz/regression/.
set -u
fuzzer=$1 seconds=$2 artifacts=$3 dict=$4
shift 4
# The fuzzer rewrites its input file for every run: memory-backed is far faster.
scratch_base=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch_base=/dev/shm
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-fuzz-XXXXXX") || exit 1
scratch=$(mktemp -d "$scratch_base/tolvane-fuzz-XXXXXX") || exit 1
trap 'rm -rf "$work" "$scratch"' EXIT
mkdir -p "$work/corpus" "$artifacts"
corpora=()
for dir in "$@"; do
  [ -d "$dir" ] || { echo "no corpus folder $dir" >&2; exit 1; }
  corpora+=("$dir")
done
options=()
[ "$dict" != - ] && options+=(-dict="$dict")
TMPDIR=$scratch "$fuzzer" -max_total_time="$seconds" -timeout=10 -max_len=25000 \
  -rss_limit_mb=2048 -print_final_stats=1 "${options[@]}" \
  -artifact_prefix="$artifacts/" "$work/corpus" "${corpora[@]}"
