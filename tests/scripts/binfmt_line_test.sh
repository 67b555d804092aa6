#!/usr/bin/env bash
# binfmt_line_test.sh <binfmt line file> <probe-32bit.sh> <32-bit program>...
# The binfmt_misc line that setup-deps.sh registers for qemu-i386-static
# takes what it must and nothing else: the given 32-bit programs (the
# tree's position-independent ones) and the probe's static 32-bit program,
# but no 64-bit program; and it names the static interpreter with the F
# flag, so that it serves in any mount namespace.
set -u
line=$(cat "$1") probe=$2
shift 2
work=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-binfmt-XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT
status=0
fail() {
  echo "FAIL: $*"
  status=1
}

IFS=: read -r _ name type offset magic mask interpreter flags <<<"$line"
[ "$name" = qemu-i386 ] && [ "$type" = M ] && [ "${offset:-0}" = 0 ] || fail "not a magic entry at offset 0: $line"
[ "$interpreter" = /usr/bin/qemu-i386-static ] || fail "interpreter $interpreter"
[ "$flags" = F ] || fail "flags '$flags'"
# The kernel's escapes as hex digits, two a byte.
hex() { perl -e 'my $s = shift; $s =~ s/\\x([0-9a-fA-F]{2})/chr(hex $1)/ge; print unpack("H*", $s)' "$1"; }
magic=$(hex "$magic") mask=$(hex "$mask")
[ ${#magic} -eq ${#mask} ] || fail "magic and mask differ in length"

# The kernel's rule: a file is taken when it differs from the magic in no
# bit that the mask keeps.
taken() {
  local head
  head=$(od -An -tx1 -N$((${#magic} / 2)) "$1" | tr -d ' \n')
  [ ${#head} -eq ${#magic} ] || return 1
  for ((i = 0; i < ${#magic}; i += 2)); do
    (((0x${head:i:2} ^ 0x${magic:i:2}) & 0x${mask:i:2})) && return 1
  done
  return 0
}

"$probe" --cache "$work" --program /bin/true >/dev/null # builds the probe's programs
for program in "$@" "$work/i386_program"; do
  taken "$program" && echo "ok: taken: $program" || fail "not taken: $program"
done
for program in "$work/launch" "$(readlink -f /bin/sh)"; do
  taken "$program" && fail "taken, though 64-bit: $program" || echo "ok: left alone: $program"
done
exit $status
