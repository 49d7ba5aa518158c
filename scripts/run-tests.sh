#!/bin/bash
# Runs ctest for an x86_64 mingw build tree under Wine, with a private Xvfb
# display and a warm, persistent wineserver, both ended when the run ends.
# The Wine prefix is the build tree's own (BUILD/wineprefix) unless WINEPREFIX
# is set, so parallel runs in different trees do not meet.
# Usage: scripts/run-tests.sh BUILD_DIR [ctest args...]
set -uo pipefail
build=$(cd "$1" && pwd); shift
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$here/wine-prefix-init.sh" || exit 1

xvfb_pid=
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null      # this prefix's processes only
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it to fd 3.
dfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dfile" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$dfile" ] && break; sleep 0.1; done
[ -s "$dfile" ] || { echo "run-tests: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -1 "$dfile")"; rm -f "$dfile"

# Start the server and Wine's own services now, with their output detached
# from ctest's pipes (ctest otherwise waits for them after every test).
/usr/lib/wine/wineserver -p
LC_ALL=zh_CN.UTF-8 /usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1
LC_ALL=zh_CN.UTF-8 /usr/lib/wine/wine64 rundll32 user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1

ctest --test-dir "$build" --output-on-failure --no-tests=error "$@"
