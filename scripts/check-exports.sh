#!/usr/bin/env bash
# check-exports.sh [--objdump <objdump>] <shared library> <name>...
# Passes when the library's dynamic symbol table (with --objdump: a Windows
# DLL's export table, read by that objdump) defines exactly the given names.
set -u
objdump=""
if [ "$1" = "--objdump" ]; then
  objdump=$2; shift 2
fi
lib=$1; shift
want=$(printf '%s\n' "$@" | sort -u)
if [ -n "$objdump" ]; then
  # The name column of "[Ordinal/Name Pointer] Table", up to its blank line.
  have=$("$objdump" -p "$lib" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' | sort -u)
else
  have=$(nm -D --defined-only "$lib" | awk '{print $NF}' | sort -u)
fi
if [ "$want" != "$have" ]; then
  echo "exports of $lib differ from the expected list:"
  diff <(printf '%s\n' "$want") <(printf '%s\n' "$have") | sed -n 's/^</missing: /p; s/^>/extra:   /p'
  exit 1
fi
echo "$lib exports exactly: $(printf '%s ' "$@")"
