#!/usr/bin/env bash
# check-exports.sh <shared library> <name>...
# Passes when the library's dynamic symbol table defines exactly the given names.
set -u
lib=$1; shift
want=$(printf '%s\n' "$@" | sort -u)
have=$(nm -D --defined-only "$lib" | awk '{print $NF}' | sort -u)
if [ "$want" != "$have" ]; then
  echo "exports of $lib differ from the expected list:"
  diff <(printf '%s\n' "$want") <(printf '%s\n' "$have") | sed -n 's/^</missing: /p; s/^>/extra:   /p'
  exit 1
fi
echo "$lib exports exactly: $(printf '%s ' "$@")"
