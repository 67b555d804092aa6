#!/usr/bin/env bash
# road.sh <build dir> [<tree>]: the main road of the toolchain, with its whole
# console dialogue. The example host compiles its ladder program with the
# compiler library and writes the image as S-records through libwr_s19.so;
# qdx_analyzer prints the image's settings block; qdx_tool -r stops the
# controller, programs the image and starts it again.
#
# The programs and plug-ins come from <tree> (default: the build dir; an
# installed prefix has the same bin/ and lib/ layout). No controller is attached to the build machines: the
# controller stand-in of the tests plays it, preloaded into qdx_tool only
# (QDX_STANDIN_PRELOAD overrides the preload, e.g. to put the ASan runtime first).
set -eu -o pipefail
build=$(cd "$1" && pwd)
tree=$(cd "${2:-$1}" && pwd)
preload=${QDX_STANDIN_PRELOAD:-$build/tests/libqdx_standin.so}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
image=$work/pump_station.s19

echo "=== Compiling the example ladder program, written through libwr_s19.so ==="
"$tree/bin/plccomp_example" -o "$work/pump_station.bin" -p "$tree/lib/libwr_s19.so" "$image"

echo
echo "=== $(basename "$image") ==="
cat "$image"

echo
echo "=== qdx_analyzer $(basename "$image") ==="
"$tree/bin/qdx_analyzer" "$image"

echo
echo "=== qdx_tool -r $(basename "$image") (controller stand-in) ==="
env LD_PRELOAD="$preload" QDXSIM_FLASH_OUT="$work/flash.bin" "$tree/bin/qdx_tool" -r "$image" | tee "$work/dialogue.txt"

# The road holds when the writer programmed the controller, the tool started
# it, and the controller's flash begins with exactly the compiled image.
grep -q '^QDX programming successful!$' "$work/dialogue.txt"
grep -q '^Starting Tolvane... OK$' "$work/dialogue.txt"
cmp -n "$(stat -c %s "$work/pump_station.bin")" "$work/pump_station.bin" "$work/flash.bin"
echo
echo "The controller holds the compiled image and runs it."
