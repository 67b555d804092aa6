#!/usr/bin/env bash
# compare_tables.sh <Linux table_dumps> <wine runner> <Windows table_dumps.exe>
# Both builds load the same awkward circuit-table files, each through its
# own profile reader (Windows' own under wine, ours on Linux), and must show
# the same tables: each file's dump, read as text (CR LF as LF), is the same
# on both. Any difference fails, with the files it concerns.
set -u
linux_dumps=$1 runner=$2 windows_dumps=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-tables-XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
# Where the runner cannot run the Windows program, its status says so.
"$runner" --can-run || exit $?
mkdir "$work/linux" "$work/windows"
"$linux_dumps" "$work/linux" || { echo "FAIL: the Linux build did not load the files"; exit 1; }
"$runner" "$windows_dumps" "$work/windows" || { echo "FAIL: the Windows build did not load the files"; exit 1; }

status=0
count=0
for linux in "$work/linux"/*.dump; do
  name=$(basename "$linux" .dump)
  windows=$work/windows/$name.dump
  count=$((count + 1))
  if ! cmp -s "$work/linux/$name.ini" "$work/windows/$name.ini"; then
    echo "FAIL: $name: the builds wrote other files"
    status=1
  elif ! perl -pe 's/\r\n\z/\n/' "$windows" | cmp -s - "$linux"; then
    echo "FAIL: $name.ini: Linux reads other tables than Windows (< Linux, > Windows):"
    perl -pe 's/\r\n\z/\n/' "$windows" | diff "$linux" - | head -20
    status=1
  fi
done
[ $count -gt 0 ] || { echo "FAIL: no files loaded"; exit 1; }
[ $status -eq 0 ] && echo "The Windows and the Linux build read the same tables from $count files."
exit $status
