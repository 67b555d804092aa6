#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/packages.d/*.list that are
# missing. A name without an architecture means the machine's own: an i386
# copy alone of a library does not count for it. A name with ":i386" adds
# the i386 architecture to dpkg first.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
native=$(dpkg --print-architecture)

installed() {
  local name=${1%%:*} arch=${1#*:}
  [ "$arch" = "$1" ] && arch=$native
  dpkg-query -W -f='${Status} ${Architecture}\n' "$name" 2>/dev/null |
    grep -q -E "^install ok installed ($arch|all)\$"
}

sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

missing=()
foreign=()
while read -r pkg; do
  case "$pkg" in ''|'#'*) continue ;; esac
  case "$pkg" in *:*) foreign+=("${pkg#*:}") ;; esac
  installed "$pkg" || missing+=("$pkg")
done < <(cat "$here"/packages.d/*.list)
[ ${#missing[@]} -eq 0 ] && exit 0

for arch in $(printf '%s\n' "${foreign[@]}" | sort -u); do
  [ "$arch" = "$native" ] && continue
  dpkg --print-foreign-architectures | grep -qx "$arch" || $sudo dpkg --add-architecture "$arch"
done
echo "Installing missing packages: ${missing[*]}"
# sudo resets the environment: the variable is handed to apt-get through env.
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
