#!/usr/bin/env bash
# The 32-bit Windows build, cross-compiled with mingw-w64; its tests run under
# wine, in a wine prefix of the tree's own (build-windows/wineprefix). Its
# files are compared with those of the regular Linux build (build/, the tree
# of 90-linux), of which only what the comparison and the end-to-end test of
# simpanel.exe run is built here.
set -u
cd "$(dirname "$0")/../.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
  cmake --build build -j"$(nproc)" --target image_files qdx_analyzer simpanel_wine_test || exit 1
scripts/build.sh build-windows -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/i686-w64-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_LINUX_TREE="$PWD/build" || exit 1
cd build-windows && ctest --output-on-failure -j"$(nproc)" --timeout 600
