#!/usr/bin/env bash
# check_format_test.sh <source tree>: runs the tree's check-format.sh on small
# copies of a tree in every way it may find one (a git checkout, one whose
# owner git distrusts, no git checkout, no git at all, a broken checkout) and
# expects a verdict in each: a file off the style fails, a clean tree passes,
# and finding no file or failing to list them never passes.
set -u
source_tree=$1
base=$(mktemp -d "${TMPDIR:-/tmp}/tolvane-format-XXXXXX") || exit 1
trap 'rm -rf "$base"' EXIT
status=0

# A PATH with what the script needs but git.
mkdir "$base/nogit"
for tool in dirname find clang-format; do
  ln -s "$(command -v "$tool")" "$base/nogit/$tool"
done

# make_tree <dir> <how> <files>: a copy of the script and the style, the files
# named (good.cpp follows the style, bad.cpp does not, a build tree's copy of
# bad.cpp is left out), made a git checkout when <how> asks for one.
make_tree() {
  local dir=$1 how=$2 files=$3
  mkdir -p "$dir/scripts" "$dir/build-x"
  cp "$source_tree/scripts/check-format.sh" "$dir/scripts/"
  cp "$source_tree/.clang-format" "$dir/"
  printf 'int main() { return 0; }\n' > "$dir/build-x/bad.cpp"
  printf 'build*/\n' > "$dir/.gitignore"
  case " $files " in *" good.cpp "*) printf 'int main() { return 0; }\n' > "$dir/good.cpp" ;; esac
  case " $files " in *" bad.cpp "*) printf 'int  main( ){return 0;}\n' > "$dir/bad.cpp" ;; esac
  case $how in
    git | distrusted) git -C "$dir" init -q && git -C "$dir" add -A ;;
    broken) mkdir "$dir/.git" ;;
  esac
}

# how | files | expected exit status | what the output must hold
cases=(
  "git|good.cpp|0|(files checked: 1)"
  "git|good.cpp bad.cpp|1|  bad.cpp"
  "git||1|No C or C++ source found"
  "distrusted|good.cpp|0|(files checked: 1)"
  "distrusted|good.cpp bad.cpp|1|  bad.cpp"
  "plain|good.cpp|0|(files checked: 1)"
  "plain|good.cpp bad.cpp|1|  bad.cpp"
  "plain||1|No C or C++ source found"
  "nogit|good.cpp bad.cpp|1|  bad.cpp"
  "nogit|good.cpp|0|(files checked: 1)"
  "broken|good.cpp|1|Listing the sources failed"
)
n=0
for c in "${cases[@]}"; do
  IFS='|' read -r how files want text <<< "$c"
  n=$((n + 1))
  dir=$base/tree$n
  make_tree "$dir" "$how" "$files"
  case $how in
    # git's own switch for a checkout owned by another user
    distrusted) out=$(GIT_TEST_ASSUME_DIFFERENT_OWNER=1 bash "$dir/scripts/check-format.sh" 2>&1) ;;
    nogit) out=$(PATH=$base/nogit "$BASH" "$dir/scripts/check-format.sh" 2>&1) ;;
    *) out=$(bash "$dir/scripts/check-format.sh" 2>&1) ;;
  esac
  got=$?
  if [ "$got" != "$want" ] || [[ "$out" != *"$text"* ]]; then
    echo "FAIL: $how tree with '$files': exit $got (want $want), output:"
    printf '%s\n' "$out" | sed 's/^/    /'
    status=1
  else
    echo "ok: $how tree with '$files': exit $got"
  fi
done
exit $status
