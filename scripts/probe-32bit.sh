#!/usr/bin/env bash
# probe-32bit.sh [--cache <dir>] [--program <file>]
# Tells how this machine runs 32-bit x86 Linux programs, by starting one
# (probe-32bit/i386_program.S) and looking at what runs it. Prints one line:
#   native                 the kernel runs them itself
#   emulated <handler>     the kernel hands them to <handler> (binfmt_misc)
#   none <reason>          they do not run
# A registered handler answers for every 32-bit program, so "emulated" is
# also the verdict on a kernel that could run them itself.
#
# The probe's two programs are built with the machine's assembler and C
# compiler into <dir> (default: a temporary folder), and reused from there
# while they are newer than their sources. --program starts <file> in place
# of the 32-bit program (the tests give it programs of known kinds).
set -u
here=$(cd "$(dirname "$0")/probe-32bit" && pwd)
cache="" program=""
while [ $# -gt 0 ]; do
  case $1 in
    --cache) cache=$2; shift 2 ;;
    --program) program=$2; shift 2 ;;
    *) echo "usage: $0 [--cache <dir>] [--program <file>]" >&2; exit 2 ;;
  esac
done
if [ -z "$cache" ]; then
  cache=$(mktemp -d) || exit 2
  trap 'rm -rf "$cache"' EXIT
fi
mkdir -p "$cache" || exit 2

# build <output> <source> <command...>: runs <command> <partial file>
# <source>; the rename makes the output appear whole, also to callers
# running at the same time.
build() {
  local output=$cache/$1 source=$here/$2
  shift 2
  [ "$output" -nt "$source" ] && return 0
  local partial=$output.$$ log=$cache/build.log.$$
  if "$@" "$partial" "$source" >"$log" 2>&1 && mv -f "$partial" "$output"; then
    rm -f "$log"
    return 0
  fi
  echo "probe-32bit.sh: cannot build $output:" >&2
  cat "$log" >&2
  rm -f "$partial" "$partial.o" "$log"
  exit 2
}
build launch launch.c sh -c 'cc -O2 -o "$1" "$2"' sh
build i386_program i386_program.S sh -c 'as --32 -o "$1.o" "$2" && ld -m elf_i386 -o "$1" "$1.o" && rm -f "$1.o"' sh
exec "$cache/launch" "${program:-$cache/i386_program}"
