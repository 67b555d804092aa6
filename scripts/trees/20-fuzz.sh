#!/usr/bin/env bash
# The libFuzzer targets (clang), each run for a bounded time.
set -u
. "$(dirname "$0")/lib.sh"
scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ || tree_failed "$no_32bit" build
tree_ctest build-fuzz "$no_32bit" -j"$(nproc)" --timeout 600 --no-tests=ignore
