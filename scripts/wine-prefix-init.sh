#!/bin/bash
# Creates (once) and configures the project's private Wine prefix: fonts,
# Chinese font replacements, no crash dialog. Idempotent.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${WINEPREFIX:-$(dirname "$here")/build/x64/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=zh_CN.UTF-8
W=/usr/lib/wine/wine64
stamp="$WINEPREFIX/.mardavel-configured"
settings="$here/wine-settings.reg.utf8"
if [ -f "$stamp" ] && [ "$stamp" -nt "$settings" ] && [ "$stamp" -nt "$0" ]; then
  exit 0
fi
mkdir -p "$WINEPREFIX"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  # No display: nothing opens a window; Mono and Gecko installers are off.
  env -u DISPLAY "$W" wineboot -i >/dev/null 2>&1 || true
fi
# Debian's wine64 does not load /usr/share/wine/fonts (Tahoma, Marlett, MS Sans
# Serif); fonts in C:\windows\Fonts are loaded.
ln -sf /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/"
# regedit reads REGEDIT5 files as UTF-16LE with a byte-order mark.
reg="$WINEPREFIX/drive_c/mardavel-settings.reg"
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$settings"; } > "$reg"
env -u DISPLAY "$W" regedit /S 'C:\mardavel-settings.reg'
env -u DISPLAY "$W" wineboot -s >/dev/null 2>&1 || true   # flushes the registry to disk
/usr/lib/wine/wineserver -w
touch "$stamp"
