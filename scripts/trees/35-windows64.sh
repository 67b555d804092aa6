#!/usr/bin/env bash
# The Windows sources as 64-bit Windows programs (mingw-w64 x86_64), tested
# under wine64 in a win64 prefix of the tree's own (build-windows64/wineprefix):
# not a deliverable, but the Windows tests on every machine, since wine64
# needs no 32-bit program.
set -u
. "$(dirname "$0")/lib.sh"
windows_tree build-windows64 x86_64-w64-mingw32
