#!/usr/bin/env bash
# The saver on layer surfaces of its own, as it runs when no Qt platform is forced on a
# compositor that offers them: the whole scene on every output above a full-screen window, the
# pointer hidden, the ways it ends, and how soon it shows and ends.
source "$(dirname "$0")/lib.sh"
start_sway 2
export QT_QPA_PLATFORM=

# start_layer_saver: the saver shown on both outputs; first_frame_ms is how long from its start
# until screenshots of both showed the whole scene (an upper bound: it includes the screenshots).
start_layer_saver() {
  local windows_before started
  windows_before=$(window_count)
  started=$(now_ms)
  start_saver /s
  scene_or_fail HEADLESS-1 HEADLESS-2
  first_frame_ms=$(($(now_ms) - started))
  # Layer surfaces are no windows: one more window would mean the saver took the Qt path.
  (($(window_count) == windows_before)) || wl_fail "the saver made windows instead of layer surfaces: $(windows)"
}

# ends_with_zero WHAT MILLISECONDS: the saver ends within the time from the call, with exit 0.
ends_with_zero() {
  wait_gone_ms "$saver_pid" "$2" || wl_fail "$1 did not end the saver within $2 ms"
  saver_exited_zero || wl_fail "exit code $saver_status after $1: $(tail -n 3 "$work/saver.err")"
}

echo "the whole scene on both outputs, above a full-screen window, and no pointer over it"
# The pointer rests in the black bar left of the scene, where anything drawn would show.
readonly kPointerArea=48x48+100+540
move_to 100 540
screenshot "$work/desktop.png" HEADLESS-1
(($(distinct_colours "$work/desktop.png" "$kPointerArea") > 1)) ||
  wl_fail "the compositor draws no pointer, so its hiding cannot be seen"
start_fullscreen_window
start_layer_saver
echo "  first frame on both outputs within ${first_frame_ms} ms"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/layer-saver-wayland.png"
(($(distinct_colours "$work/HEADLESS-1.png" "$kPointerArea") == 1)) || wl_fail "the pointer is drawn over the saver"
alive "$fullscreen_pid" || wl_fail "the full-screen window ended"
has_window 1920x1080+0+0 || wl_fail "the full-screen window lost its place: $(windows)"
kill "$fullscreen_pid"
wait_gone_ms "$fullscreen_pid" 2000 || wl_fail "the full-screen window did not end"

echo "an output added while it runs gets the scene"
add_output
scene_or_fail HEADLESS-3
# The layout grew: the pointer must stay in the first output's bar for the rest.
swaymsg_ output HEADLESS-3 disable >/dev/null

echo "a key ends it with exit 0"
alive "$saver_pid" || wl_fail "the saver ended early: $(tail -n 3 "$work/saver.err")"
# The key is sent alongside, so that the figure does not wait for wtype's release.
sent=$(now_ms)
key a &
key_pid=$!
ends_with_zero "a key" 2000
echo "  key to exit: $(($(now_ms) - sent)) ms, counted from starting wtype"
wait "$key_pid" || wl_fail "wtype could not send the key"

echo "a click ends it"
start_layer_saver
click
ends_with_zero "a click" 2000

echo "with MouseSens 4, three movements do not end it and the fourth does"
start_layer_saver
for step in 1 2 3; do
  move 20 0
  nap 0.3
done
! wait_for 1 gone "$saver_pid" || wl_fail "three movements ended the saver"
move 20 0
ends_with_zero "the fourth movement" 2000
move_to 100 540

echo "SIGTERM ends it"
start_layer_saver
kill -TERM "$saver_pid"
ends_with_zero SIGTERM 2000
echo "passed"
