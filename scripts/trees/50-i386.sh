#!/usr/bin/env bash
# The regular 32-bit Linux (i386) build: programs, plug-ins, the stand-in and
# every test program 32-bit.
set -u
cd "$(dirname "$0")/../.."
scripts/build.sh build-i386 -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/i686-linux-gnu.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo || exit 1
cd build-i386 && ctest --output-on-failure -j"$(nproc)" --timeout 600
