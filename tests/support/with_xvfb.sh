#!/usr/bin/env bash
# Runs a command on an X server of its own, gone when the command ends:
#   with_xvfb.sh WIDTHxHEIGHT COMMAND [ARGUMENTS...]
set -euo pipefail
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 "${1}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
read -r -t 10 number <&"$fd" || { echo "with_xvfb: Xvfb did not start" >&2; exit 1; }
DISPLAY=:$number QT_QPA_PLATFORM=xcb "${@:2}"
