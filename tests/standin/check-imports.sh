#!/usr/bin/env bash
# check-imports.sh <stand-in> <real hidapi library> <binary>...
# Passes when every hidapi function that each binary imports is defined by
# the stand-in, so that a preloaded stand-in answers all of its HID calls.
set -u
standin=$1; real=$2; shift 2
if [ $# -eq 0 ]; then
  echo "no binary to check"
  exit 1
fi
symbols() { nm -D "$@" | awk '{print $NF}' | sed 's/@.*//' | sort -u; }
have=$(symbols --defined-only "$standin")
api=$(symbols --defined-only "$real")
status=0
for bin in "$@"; do
  used=$(comm -12 <(symbols --undefined-only "$bin") <(printf '%s\n' "$api"))
  if [ -z "$used" ]; then
    echo "$bin imports no hidapi function"
    status=1
    continue
  fi
  missing=$(comm -23 <(printf '%s\n' "$used") <(printf '%s\n' "$have"))
  if [ -n "$missing" ]; then
    echo "$bin imports hidapi functions that the stand-in does not define:" $missing
    status=1
  else
    echo "$bin: the stand-in defines all $(printf '%s\n' "$used" | wc -l) hidapi functions it imports"
  fi
done
exit $status
