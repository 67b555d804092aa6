#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/packages.d/*.list that are
# missing. A name without an architecture means the machine's own: an i386
# copy alone of a library does not count for it. A name with ":i386" adds
# the i386 architecture to dpkg first.
#
# Then, where the kernel runs no 32-bit programs, it has them run under
# qemu-i386-static (registered with binfmt_misc), so that the i386 trees can
# run their tests. It never registers the handler where the kernel runs them
# itself: the handler would take wine's 32-bit programs too, and they hang
# under qemu.
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

install_missing() {
  [ ${#missing[@]} -eq 0 ] && return 0
  for arch in $(printf '%s\n' "${foreign[@]}" | sort -u); do
    [ "$arch" = "$native" ] && continue
    dpkg --print-foreign-architectures | grep -qx "$arch" || $sudo dpkg --add-architecture "$arch"
  done
  echo "Installing missing packages: ${missing[*]}"
  # sudo resets the environment: the variable is handed to apt-get through env.
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
}

# Registers qemu-i386-static for 32-bit x86 programs where nothing runs them
# yet. It must be the static program: a dynamic interpreter would be started
# by the machine's own ld.so, which takes the 32-bit program's LD_PRELOAD for
# itself.
binfmt=/proc/sys/fs/binfmt_misc
emulate_32bit_where_needed() {
  local runs
  runs=$("$here/probe-32bit.sh") || runs="none the probe failed"
  case $runs in native | emulated*) return 0 ;; esac
  local why=""
  if [ ! -x /usr/bin/qemu-i386-static ]; then
    why="qemu-user-static is not installed"
  elif [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null; then
    why="registering a handler needs root"
  else
    [ -e "$binfmt/register" ] || $sudo mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null || true
    if [ ! -e "$binfmt/register" ]; then
      why="binfmt_misc is not there and could not be mounted"
    else
      # A disabled or stale entry of that name goes first.
      [ -e "$binfmt/qemu-i386" ] && { echo -1 | $sudo tee "$binfmt/qemu-i386" >/dev/null || true; }
      $sudo tee "$binfmt/register" <"$here/probe-32bit/qemu-i386.binfmt" >/dev/null 2>&1 || true
      case $("$here/probe-32bit.sh") in
        emulated*) ;;
        *) why="the handler could not be registered" ;;
      esac
    fi
  fi
  if [ -z "$why" ]; then
    echo "This kernel runs no 32-bit programs (${runs#none }): they now run under qemu-i386-static, registered with binfmt_misc."
  else
    echo "This kernel runs no 32-bit programs (${runs#none }), and they cannot be emulated here: $why. The i386 trees are built, not tested."
  fi
}

install_missing
emulate_32bit_where_needed
