#!/usr/bin/env bash
# The machine's own regular Linux build, the tree of the main job.
set -u
. "$(dirname "$0")/lib.sh"
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo || tree_failed "$no_32bit" build
tree_ctest build "$no_32bit" -j"$(nproc)" --timeout 600
