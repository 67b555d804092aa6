#!/usr/bin/env bash
# The regular 32-bit Linux (i386) build: programs, plug-ins, the stand-in and
# every test program 32-bit.
set -u
. "$(dirname "$0")/lib.sh"
i386_tree build-i386 plain -DCMAKE_BUILD_TYPE=RelWithDebInfo
