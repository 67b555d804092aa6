#!/usr/bin/env bash
# The main job: builds the toolchain and runs it.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/setup-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "Built deliverables:"
for f in build/lib/lib*.so build/bin/*; do
  [ -e "$f" ] && echo "  $f"
done
echo
echo "Compiling a sample ladder program with the example host of the compiler library:"
build/bin/plccomp_example
