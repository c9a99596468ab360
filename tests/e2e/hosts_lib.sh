# Helpers for the end-to-end tests of the host entry point, sourced after lib.sh.
SKYFARE_HACK=${SKYFARE_HACK:?the path of the host entry point}
CLOSE_REQUEST=${CLOSE_REQUEST:-}
hack_pid=

cleanup_hack() {
  [[ -n $hack_pid ]] && kill "$hack_pid" 2>/dev/null || true
  cleanup
}
trap cleanup_hack EXIT

# start_hack ARGUMENTS...: the entry point in the background, its messages in hack.err.
start_hack() {
  "$SKYFARE_HACK" "$@" >"$work/hack.out" 2>"$work/hack.err" &
  hack_pid=$!
}

# The exit status of the entry point once it has ended (128 + N when signal N ended it).
hack_exit() {
  local code=0
  wait "$hack_pid" || code=$?
  hack_pid=
  echo "$code"
}

# The mapped children of a window, one "WIDTHxHEIGHT+X+Y" line each.
children_of() {
  xwininfo -id "$1" -children 2>/dev/null |
    awk '/^ +0x[0-9a-f]+ / { for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+[+-]/) print $i }'
}

has_child_of_size() { children_of "$1" | grep -q "^$2"; }

# Mapped top-level windows that a process shows, one id a line.
top_level_windows_of() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    xwininfo -id "$id" -children | grep -q "Parent window id: $(root_id) " && echo "$id"
  done
  return 0
}

root_id() { xwininfo -root | awk '/Window id:/ {print $4; exit}'; }

# crop X Y WIDTH HEIGHT FILE: a part of the screen.
crop() { import -window root -crop "${3}x${4}+${1}+${2}" +repage "$5"; }

# The mean brightness of a picture, 0 to 1.
brightness() { convert "$1" -colorspace Gray -format '%[fx:mean]' info:; }

not_blank() { awk -v b="$(brightness "$1")" 'BEGIN { exit !(b > 0.02) }'; }

# True when two pictures differ in more than a few hundred pixels: the scene moved.
pictures_differ() {
  local changed
  changed=$(compare -metric AE -fuzz 2% "$1" "$2" null: 2>&1 || true)
  awk -v n="${changed%% *}" 'BEGIN { exit !(n > 200) }'
}

# moving X Y WIDTH HEIGHT: the area shows a scene that is not blank and moves.
moving() {
  crop "$@" "$work/a.png"
  sleep 0.5
  crop "$@" "$work/b.png"
  not_blank "$work/b.png" && pictures_differ "$work/a.png" "$work/b.png"
}

# Milliseconds since the epoch.
now_ms() { date +%s%3N; }

# wait_gone_ms PID MILLISECONDS: true when the process ends within the time.
wait_gone_ms() {
  local deadline=$(($(now_ms) + $2))
  while alive "$1"; do
    (($(now_ms) < deadline)) || return 1
    sleep 0.01
  done
}
