#!/bin/bash
# Runs the recordings of test_recorder on a 16-bit screen: an Xvfb display
# of that depth and a copy of the build's Wine prefix with its own server,
# then reads the files back with check_recordings.py.
# Usage: run_depth16.sh BUILD_DIR CHECKER
set -uo pipefail
build=$1
checker=$2
bin="$build/bin"
src_prefix="${WINEPREFIX:-$build/wineprefix}"
[ -f "$src_prefix/system.reg" ] || { echo "FAIL: no Wine prefix at $src_prefix"; exit 1; }
command -v Xvfb >/dev/null || { echo "FAIL: Xvfb is missing"; exit 1; }

work=$(mktemp -d)
xvfb_pid=
cleanup() {
  WINEPREFIX="$work/prefix" /usr/lib/wine/wineserver -k 2>/dev/null
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; fi
  rm -rf "$work"
}
trap cleanup EXIT
cp -a "$src_prefix" "$work/prefix"
rm -f "$work/prefix/.update-timestamp.lock"

dfile="$work/display"
Xvfb -displayfd 3 -screen 0 1024x768x16 -nolisten tcp 3>"$dfile" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$dfile" ] && break; sleep 0.1; done
[ -s "$dfile" ] || { echo "FAIL: Xvfb did not start"; exit 1; }

export DISPLAY=":$(head -1 "$dfile")" WINEPREFIX="$work/prefix" VIDRELLE_OUT_LABEL=depth16 VIDRELLE_EXPECT_BPP=16
cd "$bin" || exit 1
"$(dirname "$0")/../../scripts/wine-run.sh" "$bin/test_recorder.exe" \
    --gtest_filter='RecordingFilesTest.*:CaptureFrameTest.*:ScreenDepthTest.*' || { echo "FAIL: test_recorder at depth 16"; exit 1; }
python3 "$checker" "$bin/recorder-out/depth16"
