#!/usr/bin/env bash
# The saver as full-screen windows through Qt's Wayland platform, on a compositor where it takes
# that path: the whole scene on every output, the pointer hidden, and the ways it ends.
source "$(dirname "$0")/lib.sh"
start_sway 2

start_painted_saver() {
  start_saver /s
  wait_for 10 has_windows 2 || wl_fail "no window on each output: $(windows)"
  scene_or_fail HEADLESS-1 HEADLESS-2
}

echo "the whole scene on both outputs, above a full-screen window, and no pointer over it"
# The pointer rests in the black bar left of the scene, where anything drawn would show.
readonly kPointerArea=48x48+100+540
move_to 100 540
screenshot "$work/desktop.png" HEADLESS-1
(($(distinct_colours "$work/desktop.png" "$kPointerArea") > 1)) ||
  wl_fail "the compositor draws no pointer, so its hiding cannot be seen"
start_fullscreen_window
start_painted_saver
has_window 1920x1080+0+0 || wl_fail "no full-screen window on the first output: $(windows)"
has_window 1920x1080+1920+0 || wl_fail "no full-screen window on the second output: $(windows)"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/saver-wayland.png"
(($(distinct_colours "$work/HEADLESS-1.png" "$kPointerArea") == 1)) || wl_fail "the pointer is drawn over the saver"
alive "$fullscreen_pid" || wl_fail "the full-screen window ended"
kill "$fullscreen_pid"
wait_gone_ms "$fullscreen_pid" 2000 || wl_fail "the full-screen window did not end"

echo "an output added while it runs gets the scene"
add_output
wait_for 10 has_windows 3 || wl_fail "no window on the new output: $(windows)"
scene_or_fail HEADLESS-3
# The layout grew: the pointer must stay in the first output's bar for the rest.
swaymsg_ output HEADLESS-3 disable >/dev/null

echo "a key ends it with exit 0"
alive "$saver_pid" || wl_fail "the saver ended early"
key a
wait_for 2 gone "$saver_pid" || wl_fail "a key did not end the saver within two seconds"
saver_exited_zero || wl_fail "exit code $saver_status after a key"

echo "a click ends it"
start_painted_saver
click
wait_for 2 gone "$saver_pid" || wl_fail "a click did not end the saver"
saver_exited_zero || wl_fail "exit code $saver_status after a click"

echo "with MouseSens 4, three movements do not end it and the fourth does"
start_painted_saver
for step in 1 2 3; do
  move 20 0
  nap 0.3
done
! wait_for 1 gone "$saver_pid" || wl_fail "three movements ended the saver"
move 20 0
wait_for 2 gone "$saver_pid" || wl_fail "the fourth movement did not end the saver"
saver_exited_zero || wl_fail "exit code $saver_status after movements"
move_to 100 540

echo "SIGTERM ends it"
start_painted_saver
kill -TERM "$saver_pid"
wait_for 2 gone "$saver_pid" || wl_fail "SIGTERM did not end the saver"
saver_exited_zero || wl_fail "exit code $saver_status after SIGTERM"
echo "passed"
