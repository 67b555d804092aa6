#!/usr/bin/env bash
# The 32-bit Linux (i386) build with AddressSanitizer and UndefinedBehaviorSanitizer.
set -u
. "$(dirname "$0")/lib.sh"
i386_tree build-i386-asan sanitized -DCMAKE_BUILD_TYPE=Debug -DTOLVANE_SANITIZE=ON -DTOLVANE_BENCH=OFF
