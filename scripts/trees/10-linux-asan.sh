#!/usr/bin/env bash
# The machine's own Linux build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -u
. "$(dirname "$0")/lib.sh"
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_SANITIZE=ON -DTOLVANE_BENCH=OFF ||
  tree_failed "$no_32bit" build
tree_ctest build-asan "$no_32bit" -j"$(nproc)" --timeout 600
