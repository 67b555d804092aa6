#!/usr/bin/env bash
# Checks the code style, then builds and tests every tree of scripts/trees/ in
# name order: the x86_64 build with the sanitizers, the fuzz targets (a
# bounded run each), the Windows builds (32-bit and 64-bit, their tests under
# wine), the i386 build with the sanitizers and without, and the regular
# x86_64 build. It ends with one line a tree (how its 32-bit programs ran and
# its tests' counts) and the whole run's counts on the last line. It fails
# when the style check or a tree failed, never for tests this machine cannot
# run (those of a tree reported as not run, or skipped).
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/setup-deps.sh || exit 1
status=0
report=$(mktemp)
trap 'rm -f "$report"' EXIT
export TOLVANE_TREE_REPORT=$report

echo "=== code style ==="
if scripts/check-format.sh; then
  echo "code-style|-|1|0|0|ok" >>"$report"
else
  echo "code-style|-|0|1|0|FAILED" >>"$report"
  status=1
fi

for tree in scripts/trees/[0-9]*.sh; do
  name=$(basename "$tree" .sh)
  echo "=== $name ==="
  before=$(wc -l <"$report")
  "$tree" || status=1
  # A tree that ended before it could report is reported here.
  [ "$(wc -l <"$report")" -gt "$before" ] || echo "$name|?|0|0|0|FAILED (ended without a report)" >>"$report"
done

echo
echo "=== summary ==="
awk -F'|' '
  { printf "%-14s %-8s %5d passed, %d failed, %d skipped; 32-bit programs: %s\n", $1, $6, $3, $4, $5, $2
    passed += $3; failed += $4; skipped += $5 }
  END { printf "%d passed, %d failed, %d skipped\n", passed, failed, skipped }' "$report"
exit $status
