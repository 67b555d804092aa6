#!/usr/bin/env bash
# installed_tree.sh [--layout-only] <cmake> <build dir> <fixture image> <expected listing> [<wine runner>]
# Installs the build into a private prefix and runs the analyzer from there:
# its link to the S-record plug-in must be found in the installed layout alone
# (on Linux through the RUNPATH, on Windows beside the program), also after
# the tree is moved, and a missing plug-in must stop it at load time. The
# install must hold the files the build puts into its bin/ (and on Linux
# lib/), and no others. With a wine runner the build is a Windows one and the
# analyzer runs through it. --layout-only checks the install and runs no
# program; otherwise, where the runner cannot run the Windows programs, its
# status says so.
set -u
layout_only=""
if [ "$1" = --layout-only ]; then
  layout_only=yes
  shift
fi
cmake=$1 build=$2 image=$3 listing=$4 runner=${5:-}
base=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-install-XXXXXX") || exit 1
trap 'rm -rf "$base"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

if [ -n "$runner" ]; then
  analyzer=bin/qdx_analyzer.exe plugins="bin/rd_s19.dll bin/rd_ihex.dll" layout=bin
else
  analyzer=bin/qdx_analyzer plugins="lib/librd_s19.so lib/librd_ihex.so" layout="bin lib"
fi
"$cmake" --install "$build" --prefix "$base/prefix" >/dev/null || fail "cmake --install"
for f in $analyzer $plugins; do
  [ -f "$base/prefix/$f" ] || fail "$f not installed"
done
# The build tree has the installed layout: what it builds into bin/ (and on
# Linux lib/) is installed, and nothing else lands there.
for dir in $layout; do
  built=$(cd "$build/$dir" && find . -maxdepth 1 -type f -printf '%P\n' | sort)
  installed=$(cd "$base/prefix/$dir" && find . -maxdepth 1 -type f -printf '%P\n' | sort)
  [ "$built" = "$installed" ] || fail "$dir/ of the build and of the install differ:
$(diff <(echo "$built") <(echo "$installed"))"
done
if [ -z "$runner" ]; then
  readelf -d "$base/prefix/$analyzer" | grep -q 'RUNPATH.*\[\$ORIGIN/../lib\]' ||
    fail "analyzer lacks RUNPATH \$ORIGIN/../lib"
fi
if [ -n "$layout_only" ]; then
  echo "the install holds what the build tree holds"
  exit 0
fi
if [ -n "$runner" ]; then
  "$runner" --can-run || exit $?
fi

# The listing as text: a Windows program ends its lines in CR LF.
expected=$(printf "Opening file: '%s'\n" "$image"; cat "$listing")
mv "$base/prefix" "$base/moved"
actual=$(env -u LD_LIBRARY_PATH $runner "$base/moved/$analyzer" "$image" | tr -d '\r') ||
  fail "analyzer exit status $?"
[ "$actual" = "$expected" ] || fail "listing of the installed analyzer differs: $(diff <(echo "$expected") <(echo "$actual"))"

rm "$base/moved/${plugins%% *}"
out=$(env -u LD_LIBRARY_PATH $runner "$base/moved/$analyzer" "$image" 2>/dev/null) && fail "ran without its plug-in"
[ -z "$out" ] || fail "printed without its plug-in: $out"
echo "installed analyzer runs from a moved tree and stops without its plug-in"
