#!/usr/bin/env bash
# The preview inside a host window: the picture shows, and the preview goes when the host goes.
source "$(dirname "$0")/lib.sh"
HOST_WINDOW=${HOST_WINDOW:?the path of the preview host helper}
start_xvfb 640x480

echo "a handle that names no window ends at once"
timeout 5 "$SKYFARE" /p 12345 || fail "a bad handle did not end quietly"

coproc host { "$HOST_WINDOW" 300 200; }
read -r -t 10 window <&"${host[0]}" || fail "the host window did not start"
start_saver "/p $window"
# The picture is drawn at its own size at the host's top left, black around it.
picture_shown() { [[ $(pixel 20 20) != "0,0,0" && $(pixel 250 180) == "0,0,0" ]]; }
wait_for 10 picture_shown || fail "no picture in the host window"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/preview.png"
echo quit >&"${host[1]}"
wait_for 3 gone "$saver_pid" || fail "the preview outlived its host"
saver_exited_zero || fail "exit code $saver_status after the host went"
echo "passed"
