#!/usr/bin/env bash
# The machine's own Linux build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -u
cd "$(dirname "$0")/../.."
scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_SANITIZE=ON -DTOLVANE_BENCH=OFF || exit 1
cd build-asan && ctest --output-on-failure -j"$(nproc)" --timeout 600
