#!/usr/bin/env bash
# static_resources.sh <windres> <simpanel.exe> <simpanel_version.h>
# The panel's resources as the linked program holds them, read by windres
# without running it (the tests under wine read them as the program does):
# the version resource gives the file and product version of the header,
# the version text in its strings, and icon 4000 has its 32- and 16-pixel
# images.
set -u -o pipefail
windres=$1 exe=$2 header=$3
fail() { echo "FAIL: $*"; exit 1; }

version=$(sed -n 's/^#define SIMPANEL_FILE_VERSION \(.*[0-9]\)[[:space:]]*$/\1/p' "$header")
text=$(sed -n 's/^#define SIMPANEL_FILE_VERSION_TEXT "\(.*\)"$/\1/p' "$header")
[ -n "$version" ] && [ -n "$text" ] || fail "no version in $header"

resources=$("$windres" -i "$exe" -O rc 2>&1) || fail "windres cannot read $exe: $resources"
grep -qxF " FILEVERSION $version" <<<"$resources" || fail "the file version is not $version"
grep -qxF " PRODUCTVERSION $version" <<<"$resources" || fail "the product version is not $version"
grep -qF "VALUE \"FileVersion\", \"$text\"" <<<"$resources" || fail "the version text is not $text"
icon=$(sed -n '/^4000 14 \/\* RT_GROUP_ICON \*\//,/^END/p' <<<"$resources")
[ -n "$icon" ] || fail "no icon 4000"
# windres writes each image's width and height as octal escapes.
for size in '32:\040\040' '16:\020\020'; do
  grep -qF "\"${size#*:}\\000\\000\", 1, 32," <<<"$icon" || fail "icon 4000 has no ${size%%:*}-pixel image of 32 bits"
done
echo "simpanel.exe holds version $text and icon 4000 (32 and 16 pixels)"
