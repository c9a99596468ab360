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

# Waits for the entry point to end and keeps its exit status in hack_status (128 + N when
# signal N ended it). Not for a subshell, which cannot wait for its parent's children.
wait_hack() {
  hack_status=0
  wait "$hack_pid" || hack_status=$?
  hack_pid=
}

# The mapped children of a window, one "WIDTHxHEIGHT+X+Y" line each.
children_of() {
  xwininfo -id "$1" -children 2>/dev/null |
    awk '/^ +0x[0-9a-f]+ / { for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+[+-]/) print $i }'
}

has_child_of_size() { children_of "$1" | grep -q "^$2"; }

# Mapped top-level windows that a process shows, one id a line, leaving out the host's window
# (XScreenSaver marks its own window with the pid of the hack it runs).
top_level_windows_of() {
  local id host=$((${2:-0}))
  for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    ((id == host)) && continue
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

# A private installation of the build, made with its install rules, so that an unprivileged
# host can run it from any checkout.
install_prefix() {
  prefix=$work/prefix
  cmake --install "${SKYFARE_BUILD:?the build folder}" --prefix "$prefix" >/dev/null ||
    fail "cmake --install failed"
  chmod -R a+rX "$prefix"
}

# XScreenSaver's daemon runs hacks only for an ordinary user: "nobody", with a home of its own.
as_nobody() {
  setpriv --reuid=65534 --regid=65534 --clear-groups env -i HOME="$daemon_home" \
    DISPLAY="$DISPLAY" PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$daemon_home/runtime" \
    SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}" "$@"
}

# Each process run through "$heard" writes what SDL's disk driver plays into a file of its own
# in $sound_dir. The wrapper carries the saver's name, which the hosts show.
make_sound_wrapper() {
  sound_dir=$work/sound
  mkdir -m 777 "$sound_dir"
  mkdir -p "$prefix/heard"
  heard=$prefix/heard/skyfare
  cat >"$heard" <<EOT
#!/bin/sh
SDL_DISKAUDIOFILE=$sound_dir/pid-\$\$ exec "\$@"
EOT
  chmod -R 755 "$prefix/heard"
}

# start_daemon PROGRAM_LINE: the daemon in mode "one" with that programs: line.
start_daemon() {
  chmod 711 "$work"
  daemon_home=$(mktemp -d "$work/daemon-home.XXXX")
  mkdir -m 700 "$daemon_home/runtime"
  cat >"$daemon_home/.xscreensaver" <<EOT
mode: one
selected: 0
timeout: 0:30:00
cycle: 0:10:00
lock: False
fade: False
unfade: False
splash: False
programs: $1 \\n
EOT
  chown -R 65534:65534 "$daemon_home"
  as_nobody xscreensaver --no-splash --log "$daemon_home/log" >"$work/daemon.out" 2>&1 &
  daemon_pid=$!
  wait_for 10 as_nobody xscreensaver-command -version || fail "the daemon did not start"
}

stop_daemon() {
  as_nobody xscreensaver-command -exit >/dev/null 2>&1 || true
  wait_for 5 gone "$daemon_pid" || kill "$daemon_pid" 2>/dev/null || true
}

# The hacks the daemon has forked so far: "PID WINDOW" lines.
forked_hacks() {
  sed -n 's/.*forked ".*skyfare.*" in pid \([0-9]*\) on window \(0x[0-9a-f]*\).*/\1 \2/p' \
    "$daemon_home/log" 2>/dev/null
}

hack_count_is() { [[ $(forked_hacks | wc -l) == "$1" ]]; }

# The geometry of a window as "WIDTHxHEIGHT+X+Y".
geometry_of() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /^ +Width/ {w=$NF} /^ +Height/ {h=$NF} END {print w "x" h "+" x "+" y}'
}
