#!/usr/bin/env bash
# On KDE Plasma's compositor: KWin on a virtual framebuffer with two 1920 × 1080 outputs, and
# swayidle (as Plasma's autostart would run it) starting the saver after its timeout. The saver
# draws the whole scene on both outputs on layer surfaces, a later timeout still fires while it
# shows, and SIGTERM ends it. KWin offers clients no way to send keys, so keys are tried on sway.
source "$(dirname "$0")/lib.sh"
marker=$wl_home/later-timeout

# The compositor's file capability cannot be taken up in a container; a copy has none.
kwin=$work/kwin_wayland
cp /usr/bin/kwin_wayland "$kwin"
chmod a+rx "$kwin"
start_user_process dbus dbus-daemon --session --nofork --address="unix:path=$XDG_RUNTIME_DIR/bus"
export DBUS_SESSION_BUS_ADDRESS=unix:path=$XDG_RUNTIME_DIR/bus
wait_for 10 test -S "$XDG_RUNTIME_DIR/bus" || wl_fail "no session bus"
export WAYLAND_DISPLAY=wayland-kwin
start_user_process kwin env -u QT_QPA_PLATFORM KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 \
  "$kwin" --virtual --width "$kOutputWidth" --height "$kOutputHeight" --output-count 2 \
  --socket "$WAYLAND_DISPLAY"
kwin_pid=$last_pid
wait_for 20 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" || wl_fail "KWin did not start: $(tail -n 5 "$work/kwin.log")"

# kwin_screenshot: the workspace as $work/workspace.png; both outputs side by side.
kwin_screenshot() {
  local size
  size=$(run_as_user /usr/bin/python3 "$(dirname "$0")/kwin_screenshot.py" "$wl_home/workspace.bgra" 2>"$work/screenshot.err") || return 1
  convert -size "$size" -depth 8 "bgra:$wl_home/workspace.bgra" -alpha off "$work/workspace.png"
}
# The scene is 4:3: on each output it fills the middle 1440 columns, all rows.
scene_on_both() {
  local output
  kwin_screenshot || return 1
  for output in 0 1; do
    convert "$work/workspace.png" -crop "${kOutputWidth}x${kOutputHeight}+$((output * kOutputWidth))+0" \
      +repage "$work/output-$output.png"
    [[ $(lit_box "$work/output-$output.png") == "$kSceneBox" ]] || return 1
  done
}
saver_pids() { pgrep -u "$(id -u "$wl_user" 2>/dev/null || id -u)" -x "$(basename "$SKYFARE")"; }

echo "swayidle starts the saver on layer surfaces; the later timeout fires while it shows"
wait_for 20 kwin_screenshot || wl_fail "KWin gave no screenshot: $(tail -n 1 "$work/screenshot.err")"
# The saver's protocol log tells layer surfaces from full-screen windows, which look the same.
protocol_log=$wl_home/saver-protocol.log
start_user_process swayidle swayidle -w timeout 1 \
  "env -u QT_QPA_PLATFORM WAYLAND_DEBUG=client $SKYFARE /s 2>$protocol_log &" \
  timeout 3 "touch $marker"
idle_pid=$last_pid
wait_for 10 saver_pids >/dev/null || wl_fail "swayidle did not start the saver: $(cat "$work/swayidle.log")"
wait_for 10 scene_on_both ||
  wl_fail "not the whole scene on both outputs: $(lit_box "$work/output-0.png") $(lit_box "$work/output-1.png")"
(($(distinct_colours "$work/output-0.png" "$kSceneBox") > 1000)) || wl_fail "the scene is flat"
overlay_surfaces=$(grep -c -- '-> zwlr_layer_shell_v1@[0-9]*\.get_layer_surface(.*, 3, ' "$protocol_log")
((overlay_surfaces == 2)) || wl_fail "$overlay_surfaces overlay layer surfaces, not one per output"
! grep -q -- '-> xdg_wm_base@[0-9]*\.get_xdg_surface' "$protocol_log" || wl_fail "the saver opened a window"
wait_for 10 test -e "$marker" || wl_fail "the later timeout did not fire while the saver showed"
saver_pids >/dev/null || wl_fail "the saver did not stay while the later timeout fired"
saver_pid=$(saver_pids)
kill "$idle_pid"
wait_gone_ms "$idle_pid" 2000 || wl_fail "swayidle did not end"

echo "SIGTERM ends it and both outputs are clear again"
kill -TERM "$saver_pid"
wait_for 2 gone "$saver_pid" || wl_fail "SIGTERM did not end the saver"
saver_pid=
scene_gone() { ! scene_on_both; }
wait_for 5 scene_gone || wl_fail "the scene stayed after the saver ended"
echo "passed"
