#!/bin/sh
# Starts a 64-bit Windows program under Wine the way every test and script of
# this project does: quiet, code page 936 (needs the generated zh_CN.UTF-8
# locale), no Mono/Gecko, the project's private prefix unless one is given.
here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX="${WINEPREFIX:-$(dirname "$here")/build/x64/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export LC_ALL="${MARDAVEL_WINE_LOCALE:-zh_CN.UTF-8}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
exec /usr/lib/wine/wine64 "$@"
