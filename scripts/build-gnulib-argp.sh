#!/usr/bin/env bash
# build-gnulib-argp.sh <folder> <host> <C compiler>
# GNU argp for a system whose C library has none (mingw): imports the argp
# module of Debian's gnulib into <folder>/source, configures it for <host>
# with <C compiler> and builds <folder>/build/gllib/libgnu.a. A program then
# includes <folder>/build/config.h first and finds argp.h in
# <folder>/build/gllib and <folder>/source/gllib. Logs stay in <folder>.
set -eu
[ $# -eq 3 ] || {
  echo "usage: $0 <folder> <host> <C compiler>" >&2
  exit 2
}
mkdir -p "$1"
dest=$(cd "$1" && pwd)
host=$2 cc=$3
[ -f "$dest/build/gllib/libgnu.a" ] && exit 0

run() {
  local log=$1
  shift
  "$@" >"$log" 2>&1 || {
    echo "failed: $* (log: $log)" >&2
    tail -20 "$log" >&2
    exit 1
  }
}

rm -rf "$dest/source" "$dest/build"
run "$dest/import.log" gnulib-tool --create-testdir --dir="$dest/source" --without-tests --single-configure argp
mkdir -p "$dest/build"
cd "$dest/build"
run "$dest/configure.log" ../source/configure --host="$host" CC="$cc"
run "$dest/make.log" make -j"$(nproc)"
