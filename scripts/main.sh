#!/usr/bin/env bash
# The main job: builds the toolchain and runs its main road (scripts/road.sh):
# a ladder program compiled, written as S-records, analyzed, and programmed
# into the controller, here the stand-in of the tests.
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
scripts/road.sh build
