#!/usr/bin/env bash
# tree.sh <name>: builds and tests one tree of scripts/trees/ (e.g. "90-linux"
# or "90-linux.sh"), after installing what is missing.
set -u
here=$(cd "$(dirname "$0")" && pwd)
"$here/setup-deps.sh" || exit 1
exec "$here/trees/${1%.sh}.sh"
