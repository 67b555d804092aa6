#!/usr/bin/env bash
# installed_road.sh <build dir>: installs the build into a fresh prefix and
# runs the main road from there, so that qdx_tool finds its plug-ins in the
# installed lib/ beside its bin/.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
"$(dirname "$0")/../../scripts/road.sh" "$build" "$prefix"
