#!/usr/bin/env bash
# fetch-debian-source.sh <package> <version> <folder>
# Unpacks Debian's source package <package> at <version> (e.g. hidapi
# 0.13.1-1) into <folder>/<package>-<upstream version>, with apt's own client
# and its signature and checksum checks. The deb-src entries are made from the
# machine's own apt sources (each "deb" entry read as "deb-src"), in an apt
# state of its own under <folder>, so the machine's apt setup stays as it is.
# Does nothing when the folder is already there.
set -eu
[ $# -eq 3 ] || {
  echo "usage: $0 <package> <version> <folder>" >&2
  exit 2
}
package=$1 version=$2
mkdir -p "$3"
dest=$(cd "$3" && pwd)
upstream=${version%-*}
upstream=${upstream#*:}
unpacked="$dest/$package-$upstream"
[ -f "$unpacked/.fetched" ] && exit 0

state="$dest/apt-state"
rm -rf "$state" "$unpacked"
mkdir -p "$state/lists/partial" "$state/archives/partial" "$state/sources.list.d"

# One-line entries keep their options ([signed-by=...]); deb822 stanzas keep
# everything but their type.
for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$list" ] && sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$list"
done >"$state/sources.list"
for stanzas in /etc/apt/sources.list.d/*.sources; do
  [ -f "$stanzas" ] && sed 's/^Types:.*/Types: deb-src/' "$stanzas" >"$state/sources.list.d/$(basename "$stanzas")"
done

apt_options=(
  -o "Dir::State=$state" -o "Dir::State::Lists=$state/lists" -o "Dir::Cache=$state"
  -o "Dir::Cache::Archives=$state/archives" -o "Dir::Etc::SourceList=$state/sources.list"
  -o "Dir::Etc::SourceParts=$state/sources.list.d" -o "APT::Sandbox::User=$(id -un)"
  -o "Debug::NoLocking=1"
)
# A source without deb-src indexes only warns here; the package must be found below.
apt-get "${apt_options[@]}" -qq update || echo "apt-get update reported problems; trying the source all the same" >&2
(cd "$dest" && apt-get "${apt_options[@]}" -qq source "$package=$version")
[ -d "$unpacked" ] || {
  echo "no $unpacked after apt-get source" >&2
  exit 1
}
touch "$unpacked/.fetched"
