# Sourced by the tree scripts, from the top of the checkout: how a tree
# runs its tests and reports them.
#
# Each tree ends with one report line, "<tree>|<how its 32-bit programs
# ran>|<passed>|<failed>|<skipped>|<ok, FAILED or not run>", appended to the
# file $TOLVANE_TREE_REPORT when test.sh gathers them, and printed.

tree_name=$(basename "$0" .sh)
cd "$(dirname "${BASH_SOURCE[0]}")/../.." || exit 1
# The "how" of a tree that builds no 32-bit program.
no_32bit="none in this tree"

tree_report() {
  local line="$tree_name|$1|$2|$3|$4|$5"
  if [ -n "${TOLVANE_TREE_REPORT:-}" ]; then
    echo "$line" >>"$TOLVANE_TREE_REPORT"
  fi
  echo "=== $tree_name: $5; 32-bit programs: $1; tests: $2 passed, $3 failed, $4 skipped ==="
}

# tree_failed <how> <what failed>: a tree that did not get to its tests.
tree_failed() {
  tree_report "$1" 0 0 0 "FAILED ($2)"
  exit 1
}

# tree_ctest <build dir> <how> [<ctest argument>...]: runs the tree's tests,
# with CTest's JUnit record for the counts, and reports them. Exits 1 when
# a test failed or CTest did not finish.
tree_ctest() {
  local dir=$1 how=$2
  shift 2
  local junit=$PWD/$dir/Testing/junit.xml
  rm -f "$junit"
  (cd "$dir" && ctest --output-on-failure --output-junit "$junit" "$@")
  local status=$?
  # The counts are attributes of the record's first element, <testsuite>.
  local counts
  counts=$(sed -n '/<testsuite/,/>/p' "$junit" 2>/dev/null |
    awk -F'"' '/^[[:space:]]*(tests|failures|disabled|skipped)=/ { gsub(/[[:space:]=]/, "", $1); v[$1] = $2 }
      END { if ("tests" in v) print v["tests"] - v["failures"] - v["disabled"] - v["skipped"], v["failures"], v["disabled"] + v["skipped"] }')
  if [ -z "$counts" ]; then
    tree_report "$how" 0 0 0 "FAILED (CTest wrote no record, status $status)"
    exit 1
  fi
  set -- $counts
  if [ $status -ne 0 ] || [ "$2" -ne 0 ]; then
    tree_report "$how" "$1" "$2" "$3" FAILED
    exit 1
  fi
  tree_report "$how" "$1" "$2" "$3" ok
}

# i386_tree <build dir> <sanitized or plain> <cmake option>...: builds a
# 32-bit Linux tree and runs its tests as the machine runs 32-bit programs:
# natively, under the emulator that setup-deps.sh registered, or not at all.
i386_tree() {
  local dir=$1 kind=$2 runs how
  shift 2
  # How this machine runs 32-bit programs: native, emulated <handler> or none <why>.
  runs=$(scripts/probe-32bit.sh) || runs="none the probe failed"
  case $runs in
    native) how=natively ;;
    emulated*)
      how="emulated by ${runs#emulated }"
      # Tests that cannot work under emulation skip themselves there.
      export TOLVANE_EMULATOR=${runs#emulated }
      if [ "$kind" = sanitized ]; then
        # LeakSanitizer stops the process at its end with ptrace, which
        # hangs under qemu; leaks stay checked in the x86_64 sanitizer tree.
        export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
        how="$how, leak checks off"
      fi
      ;;
    *) how="not run: this kernel runs none (${runs#none }), and no emulator is registered for them" ;;
  esac
  scripts/build.sh "$dir" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/i686-linux-gnu.cmake" "$@" ||
    tree_failed "$how" build
  case $runs in
    native | emulated*) tree_ctest "$dir" "$how" -j"$(nproc)" --timeout 600 ;;
    *)
      echo "The tests of $dir are not run: this kernel runs no 32-bit programs, and scripts/setup-deps.sh could not have them emulated (it said why)."
      tree_report "$how" 0 0 0 "not run"
      ;;
  esac
}

# windows_tree <build dir> <mingw triple>: builds a Windows tree and runs its
# tests, which run its programs under wine. It compares its files with those
# of the regular Linux build (build/, the tree of 90-linux), of which only
# what the comparison and the end-to-end test of simpanel.exe run is built
# here.
windows_tree() {
  local dir=$1 triple=$2 how=$no_32bit
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null &&
    cmake --build build -j"$(nproc)" --target image_files qdx_analyzer simpanel_wine_test table_dumps ||
    tree_failed "$how" "the Linux build's parts"
  scripts/build.sh "$dir" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/$triple.cmake" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOLVANE_LINUX_TREE="$PWD/build" || tree_failed "$how" build
  if [ "$triple" = i686-w64-mingw32 ]; then
    # wine's 32-bit loader is itself a 32-bit Linux program: the tree's
    # wrapper tells whether it runs here.
    local why
    if why=$("$dir/wine/run" --can-run); then
      how=natively
    else
      how="not run: ${why#wine/run: not run: }"
    fi
  fi
  tree_ctest "$dir" "$how" -j"$(nproc)" --timeout 600
}
