#!/usr/bin/env bash
# The 32-bit Windows build, cross-compiled with mingw-w64; its tests run under
# wine, in a wine prefix of the tree's own (build-windows/wineprefix).
set -u
cd "$(dirname "$0")/../.."
scripts/build.sh build-windows -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/i686-w64-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 1
cd build-windows && ctest --output-on-failure -j"$(nproc)" --timeout 600
