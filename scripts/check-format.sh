#!/usr/bin/env bash
# check-format.sh: passes when every C and C++ source of the checkout follows
# the tree's .clang-format; names each file that does not. It fails when it
# finds no source at all, so a listing that went wrong cannot pass as clean.
set -u
top=$(cd "$(dirname "$0")/.." && pwd -P)
cd "$top"
command -v clang-format >/dev/null || { echo "clang-format is not installed"; exit 1; }

# A git checkout is listed by git: its tracked files and the new ones it does
# not ignore. The checkout is named safe on the command line, since CI may run
# as another user than the one who owns it and git then refuses the listing.
# A tree that is not a git checkout (an unpacked archive, or no git at hand)
# is listed by name, without the build trees.
list_sources() {
  if [ -e .git ] && command -v git >/dev/null; then
    git -c safe.directory="$top" ls-files -z --cached --others --exclude-standard -- '*.c' '*.cpp' '*.h' '*.hpp'
  else
    find . \( -path './build*' -o -path ./.git \) -prune -o -type f \
      \( -name '*.c' -o -name '*.cpp' -o -name '*.h' -o -name '*.hpp' \) -printf '%P\0'
  fi
}

files=()
while IFS= read -r -d '' f; do
  files+=("$f")
done < <(list_sources)
wait $! || { echo "Listing the sources failed."; exit 1; }
if [ ${#files[@]} -eq 0 ]; then
  echo "No C or C++ source found under $top."
  exit 1
fi

off=()
for f in "${files[@]}"; do
  clang-format --dry-run --Werror "$f" >/dev/null 2>&1 || off+=("$f")
done
if [ ${#off[@]} -gt 0 ]; then
  echo "Files off the tree's style (clang-format -i <file> mends them):"
  printf '  %s\n' "${off[@]}"
  exit 1
fi
echo "Every C and C++ source follows .clang-format (files checked: ${#files[@]})."
