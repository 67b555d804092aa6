#!/usr/bin/env bash
# Checks the code style, then builds and tests every tree of scripts/trees/ in
# name order: the x86_64 build with the sanitizers, the fuzz targets (a
# bounded run each), the 32-bit Windows build (its tests under wine), the i386
# build with the sanitizers and without, and last the regular x86_64 build,
# whose CTest summary ends the output.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/setup-deps.sh || exit 1
status=0

echo "=== code style ==="
scripts/check-format.sh || status=1

for tree in scripts/trees/*.sh; do
  echo "=== $(basename "$tree" .sh) ==="
  "$tree" || { status=1; echo "=== $(basename "$tree" .sh): FAILED ==="; }
done
exit $status
