#!/usr/bin/env bash
# Checks the code style, builds every configuration and runs every test: the
# sanitizer build, the fuzz targets (a bounded run each), then the regular
# build, whose CTest summary ends the output.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/setup-deps.sh || exit 1
jobs=$(nproc)
status=0

echo "=== code style ==="
scripts/check-format.sh || status=1

scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_SANITIZE=ON -DTOLVANE_BENCH=OFF || exit 1
scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ || exit 1
scripts/build.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 1

echo "=== tests with AddressSanitizer and UndefinedBehaviorSanitizer ==="
(cd build-asan && ctest --output-on-failure -j"$jobs" --timeout 600) || status=1
echo "=== fuzz runs ==="
(cd build-fuzz && ctest --output-on-failure -j"$jobs" --timeout 600 --no-tests=ignore) || status=1
echo "=== tests ==="
(cd build && ctest --output-on-failure -j"$jobs" --timeout 600) || status=1
exit $status
