#!/usr/bin/env bash
# probe_32bit_test.sh <probe-32bit.sh>
# The probe's verdict for programs of each kind it must tell apart, whatever
# this machine's kernel runs: one the kernel runs itself, one it hands to an
# interpreter (as binfmt_misc hands a 32-bit program to qemu), one it
# refuses, one whose interpreter ends at once, and none at all. Then the
# probe's own 32-bit program gets one of the three verdicts.
set -u
probe=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-probe-XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
status=0

# A program of the machine's own kind that gives the probe's sign: one
# byte, then it waits for the end of its input.
cat >"$work/native.c" <<'C'
#include <unistd.h>
int main(void) {
  char byte = 'r';
  if (write(1, &byte, 1) != 1) return 1;
  while (read(0, &byte, 1) > 0) {
  }
  return 0;
}
C
cc -o "$work/native" "$work/native.c" || { echo "FAIL: cannot build the native program"; exit 1; }
printf '#!/bin/sh\nprintf r\ncat >/dev/null\n' >"$work/interpreted"
printf 'neither an ELF program nor a script\n' >"$work/refused"
printf '#!/bin/true\n' >"$work/ends-at-once"
chmod +x "$work/interpreted" "$work/refused" "$work/ends-at-once"
shell=$(readlink -f /bin/sh)

# program | expected verdict
cases="native|native
interpreted|emulated $shell
refused|none Exec format error
ends-at-once|none it ended without a sign of running (exit status 0)
missing|none $work/missing: No such file or directory"
while IFS='|' read -r program expected; do
  actual=$("$probe" --cache "$work/cache" --program "$work/$program")
  if [ "$actual" = "$expected" ]; then
    echo "ok: $program: $actual"
  else
    echo "FAIL: $program: expected '$expected', got '$actual'"
    status=1
  fi
done <<<"$cases"

own=$("$probe" --cache "$work/cache")
case $own in
  native | "emulated "?* | "none "?*) echo "ok: this machine's 32-bit programs: $own" ;;
  *) echo "FAIL: no verdict for the probe's own 32-bit program: '$own'"; status=1 ;;
esac
exit $status
