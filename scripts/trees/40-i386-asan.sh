#!/usr/bin/env bash
# The 32-bit Linux (i386) build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -u
cd "$(dirname "$0")/../.."
scripts/build.sh build-i386-asan -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/i686-linux-gnu.cmake" \
  -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_SANITIZE=ON -DTOLVANE_BENCH=OFF || exit 1
cd build-i386-asan && ctest --output-on-failure -j"$(nproc)" --timeout 600
