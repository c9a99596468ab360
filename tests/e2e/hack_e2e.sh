#!/usr/bin/env bash
# The host entry point on its own: a bad window id, a window of its own, a host's window that
# changes size and goes away, and the end by SIGTERM.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/hosts_lib.sh"
HOST_WINDOW=${HOST_WINDOW:?the path of the preview host helper}
start_xvfb 1024x768

echo "an id that names no window: one line, exit 1"
for call in "--window-id 0x7fffff" "-window-id 12345" "--window-id nonsense"; do
  code=0
  timeout 5 "$SKYFARE_HACK" $call 2>"$work/bad.err" || code=$?
  [[ $code == 1 ]] || fail "$call ended with $code"
  [[ $(wc -l <"$work/bad.err") == 1 ]] || fail "$call said: $(cat "$work/bad.err")"
done
code=0
XSCREENSAVER_WINDOW=0x7fffff timeout 5 "$SKYFARE_HACK" --root 2>/dev/null || code=$?
[[ $code == 1 ]] || fail "a bad XSCREENSAVER_WINDOW ended with $code"

echo "no host: a window of its own, which ends the program when closed"
start_hack --bogus
wait_for 10 has_window_of_size "$hack_pid" "800x600+0+0" || fail "no window: $(windows_of "$hack_pid")"
wait_for 10 moving 0 0 800 600 || fail "the scene in its own window is blank or still"
[[ $(cat "$work/hack.err") == *'"--bogus"'* ]] || fail "the unknown argument was not reported"
window=$(xdotool search --onlyvisible --pid "$hack_pid" | head -1)
"$CLOSE_REQUEST" "$window"
wait_for 3 gone "$hack_pid" || fail "closing its window did not end it"
wait_hack
[[ $hack_status == 0 ]] || fail "exit code $hack_status after its window was closed"

echo "a copy away from any installation leaves the store alone"
mkdir "$work/copy"
cp "$SKYFARE_HACK" "$work/copy/skyfare"
XDG_CONFIG_HOME=$work/copy "$work/copy/skyfare" >"$work/hack.out" 2>"$work/hack.err" &
hack_pid=$!
wait_for 10 has_window_of_size "$hack_pid" "800x600+0+0" || fail "the copy shows no window"
kill -TERM "$hack_pid"
wait_hack
[[ $hack_status == 143 ]] || fail "the copy ended with $hack_status, not by SIGTERM"
grep -q "no data folder" "$work/hack.err" || fail "the copy did not say it has no data"
[[ ! -e $work/copy/Airlume/Airlume.ini ]] || fail "the copy wrote settings"

echo "inside a host's window: fills it, follows its size"
coproc host { "$HOST_WINDOW" 400 300; }
read -r -t 10 window <&"${host[0]}" || fail "the host window did not start"
XSCREENSAVER_WINDOW=$window start_hack -root
wait_for 10 has_child_of_size "$window" "400x300+0+0" || fail "no child: $(children_of "$window")"
wait_for 10 moving 0 0 400 300 || fail "the scene in the host window is blank or still"
[[ -z $(top_level_windows_of "$hack_pid") ]] || fail "a top-level window of its own is shown"
xdotool windowsize "$window" 640 360
wait_for 10 has_child_of_size "$window" "640x360+0+0" || fail "did not follow: $(children_of "$window")"
# Letterboxed: black bars left and right of the 4:3 scene in a 16:9 window, once the frame after
# the resize is on the screen.
letterboxed() {
  screenshot "$work/shot.png"
  [[ $(pixel 5 180 "$work/shot.png") == "0,0,0" && $(pixel 320 180 "$work/shot.png") != "0,0,0" ]]
}
wait_for 10 letterboxed || fail "no letterbox"

echo "SIGTERM ends it within a second, by that signal"
end_by_signal TERM "$hack_pid" 1000 || fail "still running 1 s after SIGTERM"
echo "  gone $ended_ms ms after SIGTERM"
wait_hack
[[ $hack_status == 143 ]] || fail "ended with $hack_status, not by SIGTERM"

echo "the host window going away ends it within 2 s"
XSCREENSAVER_WINDOW=$window start_hack
wait_for 10 has_child_of_size "$window" "640x360+0+0" || fail "no child the second time"
echo quit >&"${host[1]}"
wait_gone_ms "$hack_pid" 2000 || fail "outlived its host window by 2 s"
wait_hack
[[ $hack_status == 0 ]] || fail "exit code $hack_status after the host window went"
echo "a host window larger than the screens: no more than the screens is drawn"
coproc big { "$HOST_WINDOW" 20000 20000 2>/dev/null; }
read -r -t 10 big_window <&"${big[0]}" || fail "the large host window did not start"
XSCREENSAVER_WINDOW=$big_window start_hack
wait_for 10 has_child_of_size "$big_window" "1024x768+0+0" ||
  fail "not bounded by the screen: $(children_of "$big_window")"
peak_kib=$(awk '/VmHWM/ {print $2}' "/proc/$hack_pid/status")
((peak_kib < 200 * 1024)) || fail "peak memory $((peak_kib / 1024)) MiB in a large host window"
kill -TERM "$hack_pid"
wait_hack
echo "passed"
