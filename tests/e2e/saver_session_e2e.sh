#!/usr/bin/env bash
# The saver on a real X server: full screen, first-run defaults, and the ways it ends.
source "$(dirname "$0")/lib.sh"
start_xvfb 1024x768

echo "a fresh store: a full-screen window and the twenty defaults"
start_saver /s
wait_for 10 has_window_of_size "$saver_pid" "1024x768+0+0" || fail "no full-screen window: $(windows_of "$saver_pid")"
[[ $(grep -c '=' "$ini") == 20 ]] || fail "expected twenty stored values: $(cat "$ini")"
grep -qx 'SetReg=2' "$ini" || fail "first-run marker missing"
# The first frames are on the screen (the city at night lights the lower half).
painted() { [[ $(pixel 512 600) != "0,0,0" ]]; }
wait_for 10 painted || fail "the saver painted nothing"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/saver-1024x768.png"

echo "a key ends it at once with exit 0"
press_key a
wait_for 1 gone "$saver_pid" || fail "a key did not end the saver within a second"
saver_exited_zero || fail "exit code $saver_status after a key"

echo "a click ends it"
start_saver /s
wait_for 10 has_window_of_size "$saver_pid" "1024x768+0+0" || fail "no window"
wait_for 10 painted || fail "the saver painted nothing"
xdotool click 1
wait_for 2 gone "$saver_pid" || fail "a click did not end the saver"
saver_exited_zero || fail "exit code $saver_status after a click"

echo "with MouseSens 4, three movements do not end it and the fourth does"
xdotool mousemove 10 10
# Qt takes motions that queue up together for one, so each movement waits until Qt's input log
# shows that the saver took it.
QT_LOGGING_RULES=qt.qpa.input.events=true start_saver /s
wait_for 10 has_window_of_size "$saver_pid" "1024x768+0+0" || fail "no window"
wait_for 10 painted || fail "the saver painted nothing"
took_motion_to() { grep -q "mouse motion $1,$2," "$work/saver.err"; }
for position in "100 100" "200 150" "300 200"; do
  xdotool mousemove $position
  wait_for 10 took_motion_to $position || fail "the saver never took the movement to $position"
done
! wait_for 1 gone "$saver_pid" || fail "three movements ended the saver"
xdotool mousemove 400 250
wait_for 2 gone "$saver_pid" || fail "the fourth movement did not end the saver"
saver_exited_zero || fail "exit code $saver_status after movements"

echo "SIGTERM closes it like a close of the window"
start_saver /s
wait_for 10 has_window_of_size "$saver_pid" "1024x768+0+0" || fail "no window"
kill -TERM "$saver_pid"
wait_for 2 gone "$saver_pid" || fail "SIGTERM did not end the saver"
saver_exited_zero || fail "exit code $saver_status after SIGTERM"

echo "passed"
