#!/bin/bash
# Builds the table server stand-in in the native tree if needed and starts it
# with the table's default options (127.0.0.1:26100); arguments are passed on
# (--help lists them). TABLESERVER_BUILD_DIR names another native build tree.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
dir=${TABLESERVER_BUILD_DIR:-$top/build/native}
if [ ! -f "$dir/build.ninja" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  cmake -S "$top" -B "$dir" -G Ninja -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ "${launcher[@]}" >/dev/null
fi
cmake --build "$dir" --target mardavel_tableserver >&2
exec "$dir/bin/mardavel_tableserver" "$@"
