#!/usr/bin/env bash
# check-format.sh: passes when every C and C++ source of the checkout follows
# the tree's .clang-format; names each file that does not.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
off=()
while IFS= read -r -d '' f; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || off+=("$f")
done < <(git ls-files -z --cached --others --exclude-standard -- '*.c' '*.cpp' '*.h' '*.hpp')
if [ ${#off[@]} -gt 0 ]; then
  echo "Files off the tree's style (clang-format -i <file> mends them):"
  printf '  %s\n' "${off[@]}"
  exit 1
fi
echo "Every C and C++ source follows .clang-format."
