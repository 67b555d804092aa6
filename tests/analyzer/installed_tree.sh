#!/usr/bin/env bash
# installed_tree.sh <cmake> <build dir> <fixture image> <expected listing>
# Installs the build into a private prefix and runs the analyzer from there:
# its link to librd_s19.so must be found through the RUNPATH alone, also
# after the tree is moved, and a missing plug-in must stop it at load time.
set -u
cmake=$1 build=$2 image=$3 listing=$4
base=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-install-XXXXXX") || exit 1
trap 'rm -rf "$base"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$cmake" --install "$build" --prefix "$base/prefix" >/dev/null || fail "cmake --install"
for f in bin/qdx_analyzer lib/librd_s19.so lib/librd_ihex.so; do
  [ -f "$base/prefix/$f" ] || fail "$f not installed"
done
readelf -d "$base/prefix/bin/qdx_analyzer" | grep -q 'RUNPATH.*\[\$ORIGIN/../lib\]' ||
  fail "analyzer lacks RUNPATH \$ORIGIN/../lib"

expected=$(printf "Opening file: '%s'\n" "$image"; cat "$listing")
mv "$base/prefix" "$base/moved"
actual=$(env -u LD_LIBRARY_PATH "$base/moved/bin/qdx_analyzer" "$image") || fail "analyzer exit status $?"
[ "$actual" = "$expected" ] || fail "listing of the installed analyzer differs: $(diff <(echo "$expected") <(echo "$actual"))"

rm "$base/moved/lib/librd_s19.so"
out=$(env -u LD_LIBRARY_PATH "$base/moved/bin/qdx_analyzer" "$image" 2>/dev/null) && fail "ran without its plug-in"
[ -z "$out" ] || fail "printed without its plug-in: $out"
echo "installed analyzer runs from a moved tree and stops without its plug-in"
