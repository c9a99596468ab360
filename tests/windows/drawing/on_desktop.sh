#!/usr/bin/env bash
# Runs a Windows program that opens windows through Wine, on an X server of its own:
#   on_desktop.sh WIDTHxHEIGHT PROGRAM.exe [ARGUMENTS...]
# A Wine server keeps the X display its first client named for every later one, so the desktop
# tests' prefix gets its server started afresh on this display, and stopped at the end.
set -euo pipefail
export WINEPREFIX=${WINE_DESKTOP_PREFIX:?the Wine prefix of the desktop tests (scripts/wine-prefix)}
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=${WINEDEBUG:--all}
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill "$xvfb" 2>/dev/null || true' EXIT
read -r -t 10 number <&"$fd" || { echo "on_desktop: Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$number
wineserver -k 2>/dev/null || true
wineserver -w
wineserver -p
# The first client leaves helper processes behind; their output must go nowhere.
wine cmd /c exit </dev/null >/dev/null 2>&1
wine "${@:2}"
