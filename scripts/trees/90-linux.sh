#!/usr/bin/env bash
# The machine's own regular Linux build, the tree of the main job; last, so
# that its CTest summary ends the output.
set -u
cd "$(dirname "$0")/../.."
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 1
cd build && ctest --output-on-failure -j"$(nproc)" --timeout 600
