#!/usr/bin/env bash
# Two monitors on one X screen: a saver window on each, and input from either ends it.
source "$(dirname "$0")/lib.sh"
start_xvfb 2048x768
xrandr --setmonitor left 1024/270x768/200+0+0 screen
xrandr --setmonitor right 1024/270x768/200+1024+0 none
start_saver /s
wait_for 10 has_window_of_size "$saver_pid" "1024x768+1024+0" ||
  fail "no window on the right monitor: $(windows_of "$saver_pid")"
wait_for 5 has_window_of_size "$saver_pid" "1024x768+0+0" || fail "no window on the left monitor: $(windows_of "$saver_pid")"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/saver-two-monitors.png"
xdotool mousemove 1500 300 click 1
wait_for 2 gone "$saver_pid" || fail "a click on the right monitor did not end the saver"
echo "passed"
