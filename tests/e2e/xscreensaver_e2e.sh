#!/usr/bin/env bash
# The real XScreenSaver daemon runs the installed entry point under its hack name: the scene
# shows inside the daemon's window, survives the daemon's raise, and ends on -deactivate; on
# two monitors there is one process each and only one of them is heard.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/hosts_lib.sh"
install_prefix
hack=$prefix/libexec/xscreensaver/skyfare
grep -q '<command arg="--root"/>' "$prefix/share/xscreensaver/config/skyfare.xml" ||
  fail "no entry for xscreensaver-settings"
end_limit_ms=${END_LIMIT_MS:-1000}

make_sound_wrapper

check_hack_in() {  # PID WINDOW
  local geometry
  geometry=$(geometry_of "$2")
  wait_for 10 has_child_of_size "$2" "${geometry%%+*}+0+0" ||
    fail "no scene inside the daemon's window $2: $(children_of "$2")"
  [[ -z $(top_level_windows_of "$1" "$2") ]] || fail "pid $1 shows a top-level window of its own"
  local x=${geometry#*+}
  local y=${x#*+}
  x=${x%%+*}
  wait_for 10 moving "$x" "$y" "${geometry%%x*}" "$(cut -dx -f2 <<<"${geometry%%+*}")" ||
    fail "the scene in $2 is blank or still"
}

echo "one monitor"
start_xvfb 1280x800
started=$(now_ms)
SDL_AUDIODRIVER=disk start_daemon "$heard $hack --root"
as_nobody xscreensaver-command -activate >/dev/null
wait_for 10 hack_count_is 1 || fail "the daemon forked no hack: $(tail -5 "$daemon_home/log")"
read -r pid window <<<"$(forked_hacks)"
check_hack_in "$pid" "$window"
echo "  first moving frame inside the daemon's window after $(($(now_ms) - started)) ms"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/host-xscreensaver.png"
xdotool windowraise "$window"
wait_for 5 moving 0 0 1280 800 || fail "blank after the daemon raised its window"
alive "$pid" || fail "the hack ended by itself"
# The daemon's cycle ends the hack and starts a new one, which takes over the sound.
as_nobody xscreensaver-command -cycle >/dev/null
wait_for 10 hack_count_is 2 || fail "no new hack after -cycle"
wait_gone_ms "$pid" 1000 || fail "the old hack outlived the cycle"
read -r pid window <<<"$(forked_hacks | tail -1)"
check_hack_in "$pid" "$window"
heard_by_new() { [[ -s $sound_dir/pid-$pid ]]; }
wait_for 10 heard_by_new || fail "the new hack is not heard"
deactivated=$(now_ms)
as_nobody xscreensaver-command -deactivate >/dev/null
wait_gone_ms "$pid" "$end_limit_ms" || fail "still running $end_limit_ms ms after -deactivate"
echo "  gone $(($(now_ms) - deactivated)) ms after -deactivate"
[[ -z $(xdotool search --pid "$pid" 2>/dev/null) ]] || fail "a window outlived the hack"
grep -q "crashed" "$daemon_home/log" && fail "the daemon saw a crash"
stop_daemon
kill "$xvfb_pid"
rm -f "$sound_dir"/*

echo "two monitors"
start_xvfb 2048x768
xrandr --setmonitor left 1024/270x768/200+0+0 screen
xrandr --setmonitor right 1024/270x768/200+1024+0 none
SDL_AUDIODRIVER=disk start_daemon "$heard $hack --root"
as_nobody xscreensaver-command -activate >/dev/null
wait_for 10 hack_count_is 2 || fail "not one hack per monitor: $(forked_hacks)"
while read -r pid window; do
  check_hack_in "$pid" "$window"
done <<<"$(forked_hacks)"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/host-xscreensaver-two-monitors.png"
heard_count=$(find "$sound_dir" -type f -size +0 | wc -l)
[[ $heard_count == 1 ]] || fail "$heard_count processes write sound, not one"
pids=$(forked_hacks | cut -d' ' -f1)
as_nobody xscreensaver-command -deactivate >/dev/null
for pid in $pids; do
  wait_gone_ms "$pid" "$end_limit_ms" || fail "pid $pid still runs $end_limit_ms ms after -deactivate"
done
stop_daemon
echo "passed"
