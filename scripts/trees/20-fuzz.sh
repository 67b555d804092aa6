#!/usr/bin/env bash
# The libFuzzer targets (clang), each run for a bounded time.
set -u
cd "$(dirname "$0")/../.."
scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ || exit 1
cd build-fuzz && ctest --output-on-failure -j"$(nproc)" --timeout 600 --no-tests=ignore
