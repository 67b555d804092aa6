#!/usr/bin/env bash
# The 32-bit Windows build, cross-compiled with mingw-w64; its tests run under
# wine, in a wine prefix of the tree's own (build-windows/wineprefix), on a
# kernel that runs 32-bit programs itself. Elsewhere the tree is built, the
# checks that run no Windows program (exports, imports, the install, the
# version resource) run, and the tests under wine are reported as skipped.
set -u
. "$(dirname "$0")/lib.sh"
windows_tree build-windows i686-w64-mingw32
