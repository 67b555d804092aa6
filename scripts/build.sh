#!/usr/bin/env bash
# build.sh <build dir> [cmake options...]: configures and builds one tree.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
cmake -S "$top" -B "$top/$dir" "$@"
cmake --build "$top/$dir" -j"$(nproc)"
