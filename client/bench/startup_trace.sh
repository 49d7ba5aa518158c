#!/bin/bash
# Where the start-up time of Mardavel.exe (local mode) goes, seen through
# Wine's own trace: the time of each DLL load and of every debugger-output
# line from the process start, on a private display with a warm Wine server
# and the desktop held by a bare window (as the start-up benchmark has it).
# Three starts in a row; each prints a line per event with the milliseconds
# since the program's image was mapped and since the previous event.
# Usage: client/bench/startup_trace.sh BUILD_DIR [program.exe] [seconds per start]
set -euo pipefail
build=$(cd "$1" && pwd)
program=${2:-Mardavel.exe}
seconds=${3:-8}
here=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
"$here/scripts/wine-prefix-init.sh"
out=$(mktemp -d)
inner="$out/inner.sh"
cat >"$inner" <<EOF
#!/bin/bash
cd "$build/bin"
/usr/lib/wine/wineserver -p
LC_ALL=zh_CN.UTF-8 /usr/lib/wine/wine64 wineboot </dev/null >/dev/null 2>&1
"$here/scripts/wine-run.sh" bench_bare_window.exe >/dev/null 2>&1 &
sleep 3
for i in 1 2 3; do
  WINEDEBUG=+timestamp,+loaddll,+debugstr "$here/scripts/wine-run.sh" "$program" >"$out/trace.\$i" 2>&1 &
  pid=\$!
  sleep $seconds
  kill \$pid 2>/dev/null || true
  sleep 1
done
/usr/lib/wine/wineserver -k
EOF
chmod +x "$inner"
xvfb-run -a -s "-screen 0 1280x1024x24" "$inner" || true
for i in 1 2 3; do
  echo "== start $i"
  grep -E 'Loaded L"|debugstr' "$out/trace.$i" |
    sed -E 's/^([0-9.]+):[0-9a-f]+:trace:loaddll:[a-z_]+ Loaded L"([^"]*)".*/\1 load \2/;
            s/^([0-9.]+):[0-9a-f]+:warn:debugstr:[A-Za-z_]+ "(.*)"$/\1 text \2/' |
    awk 'NR == 1 { t0 = $1; p = $1 } { printf "%6.0f %+6.0f  %s\n", ($1 - t0) * 1000, ($1 - p) * 1000, substr($0, index($0, " ") + 1); p = $1 }' |
    grep -v -E 'system32\\\\(kernel|ntdll|msvcrt|ucrtbase|sechost|advapi|rpcrt4|combase|win32u)' || true
done
rm -rf "$out"
