#!/usr/bin/env bash
# compare_platforms.sh <Linux image_files> <Linux qdx_analyzer> <wine runner> <Windows image_files.exe> <Windows qdx_analyzer.exe>
# The Windows build and the Linux build write the same files from the same
# images (image_files writes them through each build's own plug-ins):
# - the images themselves are the same, compiled programs included;
# - every file the Windows writers make ends each line in CR LF and, read as
#   text (CR LF as LF), is the Linux writer's file byte for byte;
# - objcopy and srec_cat read the Windows S-record files into the image;
# - the Windows analyzer prints the Linux analyzer's listing of each of them.
set -u
linux_files=$1 linux_analyzer=$2 runner=$3 windows_files=$4 windows_analyzer=$5
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-platforms-XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
# Where the runner cannot run the Windows programs, its status says so.
"$runner" --can-run || exit $?
status=0
fail() {
  echo "FAIL: $*"
  status=1
}

"$linux_files" "$work/linux" || { echo "FAIL: the Linux build did not write the files"; exit 1; }
"$runner" "$windows_files" "$work/windows" || { echo "FAIL: the Windows build did not write the files"; exit 1; }

# The Linux build has one file writer more (Intel HEX); all else is on both.
expected=$(cd "$work/linux" && ls | grep -v '\.ihex$')
actual=$(cd "$work/windows" && ls)
[ "$actual" = "$expected" ] || fail "the builds wrote other files: $(diff <(echo "$expected") <(echo "$actual"))"
[ -n "$actual" ] || fail "no files written"

# "@address" followed by bytes (objcopy's verilog, srec_cat's vmem output),
# comments dropped, as one "AAAAAAAA DD" line a byte.
as_bytes() {
  perl -e 'local $/; $_ = <STDIN>; s{/\*.*?\*/}{}gs; my $at = 0;
    for (split) { if (/^@([0-9A-Fa-f]+)$/) { $at = hex $1 } else { printf "%08X %02X\n", $at++, hex $_ } }'
}

for windows in "$work/windows"/*; do
  name=$(basename "$windows")
  linux=$work/linux/$name
  [ -f "$linux" ] || continue
  case "$name" in
    *.bytes)
      cmp -s "$windows" "$linux" || fail "$name: the image differs between the builds"
      continue
      ;;
  esac
  perl -ne '$lines++ if /\n\z/; $crlf++ if /\r\n\z/; END { exit($lines == $crlf ? 0 : 1) }' "$windows" ||
    fail "$name: a line of the Windows file does not end in CR LF"
  perl -pe 's/\r\n\z/\n/' "$windows" | cmp -s - "$linux" || fail "$name: the Windows file holds other text than the Linux file"

  case "$name" in
    *.s19)
      image=$work/linux/${name%.s19}.bytes
      objcopy -I srec -O verilog --verilog-data-width 1 "$windows" "$work/objcopy.v" &&
        as_bytes <"$work/objcopy.v" | cmp -s - "$image" || fail "$name: objcopy reads other bytes"
      srec_cat "$windows" -motorola -o "$work/srec_cat.v" -vmem 8 &&
        as_bytes <"$work/srec_cat.v" | cmp -s - "$image" || fail "$name: srec_cat reads other bytes"
      "$linux_analyzer" "$windows" >"$work/linux.listing"
      "$runner" "$windows_analyzer" "$windows" | perl -pe 's/\r\n\z/\n/' >"$work/windows.listing"
      cmp -s "$work/windows.listing" "$work/linux.listing" ||
        fail "$name: the analyzers' listings differ: $(diff "$work/linux.listing" "$work/windows.listing" | head -5)"
      ;;
  esac
done
[ $status -eq 0 ] && echo "The Windows and the Linux build write the same $(echo "$actual" | wc -l) files."
exit $status
