#!/usr/bin/env bash
# A saver started while another Skyfare runs, an open settings dialog included, ends at once with
# exit 0 and no window, and says in one line which process it gave way to.
source "$(dirname "$0")/lib.sh"
start_xvfb 1024x768

visible_windows() { { xdotool search --onlyvisible --name '' 2>/dev/null || true; } | sort; }

# second_saver_gives_way_to PID: runs a second saver and checks what it did.
second_saver_gives_way_to() {
  local before code=0
  before=$(visible_windows)
  timeout 10 "$SKYFARE" /s >"$work/second.out" 2>"$work/second.err" || code=$?
  [[ $code == 0 ]] || fail "the second saver ended with $code"
  [[ $(cat "$work/second.err") == "skyfare: another Skyfare is running (pid $1); this one ends" ]] ||
    fail "the second saver said: $(cat "$work/second.err")"
  [[ ! -s $work/second.out ]] || fail "the second saver wrote: $(cat "$work/second.out")"
  [[ $(visible_windows) == "$before" ]] || fail "the second saver changed the windows on screen"
}

echo "beside an open settings dialog"
"$SKYFARE" /c >"$work/dialog.out" 2>"$work/dialog.err" &
dialog=$!
dialog_window() { xdotool search --onlyvisible --name "Skyfare Control Box"; }
wait_for 10 dialog_window || fail "no dialog window"
second_saver_gives_way_to "$dialog"
alive "$dialog" || fail "the dialog ended"
kill -TERM "$dialog"
wait_for 5 gone "$dialog" || fail "the dialog did not end on SIGTERM"

echo "beside a running saver"
start_saver /s
wait_for 10 has_window_of_size "$saver_pid" "1024x768+0+0" || fail "no saver window"
second_saver_gives_way_to "$saver_pid"
alive "$saver_pid" || fail "the first saver ended"
echo "passed"
