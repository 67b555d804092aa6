#!/usr/bin/env bash
# Installs the Debian packages of scripts/packages that are missing. A name
# without an architecture means the machine's own: an i386 copy alone of a
# library does not count for it.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
native=$(dpkg --print-architecture)

installed() {
  local name=${1%%:*} arch=${1#*:}
  [ "$arch" = "$1" ] && arch=$native
  dpkg-query -W -f='${Status} ${Architecture}\n' "$name" 2>/dev/null |
    grep -q -E "^install ok installed ($arch|all)\$"
}

missing=()
while read -r pkg; do
  case "$pkg" in ''|'#'*) continue ;; esac
  installed "$pkg" || missing+=("$pkg")
done < "$here/packages"
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing missing packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y "${missing[@]}"
