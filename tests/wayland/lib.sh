# Helpers for the Wayland tests: a headless sway with two 1920 × 1080 outputs, run as an
# unprivileged user (sway will not run as root) with a runtime folder of its own, a seat with a
# keyboard and a pointer, and the saver started as that user. Builds on the end-to-end helpers
# (watchdog waits, process checks); cleanup stops only what these helpers started.
# shellcheck source=../e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

wl_user=${SKYFARE_WL_USER:-wltest}
wl_pids=()
sway_pid=
vnc_pid=
readonly kOutputWidth=1920 kOutputHeight=1080

# Every process of the test's user is started by these helpers, so the test ends them all.
wl_cleanup() {
  local pid
  [[ -n $saver_pid ]] && kill "$saver_pid" 2>/dev/null || true
  for pid in "${wl_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${wl_pids[@]}" $saver_pid; do wait_gone_ms "$pid" 2000 || kill -KILL "$pid" 2>/dev/null || true; done
  saver_pid=
  cleanup
}
trap wl_cleanup EXIT

wl_fail() {
  [[ -s $work/sway.log ]] && tail -n 15 "$work/sway.log" | sed "s/^/  sway: /" >&2
  fail "$@"
}

# The test user: made on a fresh machine, where the tests run as root. A test run by an ordinary
# user runs everything as that user.
if (($(id -u) == 0)); then
  id "$wl_user" >/dev/null 2>&1 ||
    useradd --system --no-create-home --shell /usr/sbin/nologin "$wl_user" ||
    fail "cannot make the test user $wl_user"
  as_user=(setpriv --reuid="$wl_user" --regid="$wl_user" --init-groups --)
else
  as_user=()
fi

# The user's home, config and runtime folders, inside the test's own folder.
chmod 711 "$work"
wl_home=$work/home
mkdir -p "$wl_home/.config" "$wl_home/runtime"
chmod 700 "$wl_home/runtime"
# give_to_user PATH...: files a test wrote for the user, made the user's.
give_to_user() { (($(id -u) != 0)) || chown -R "$wl_user:$(id -gn "$wl_user")" "$@"; }
give_to_user "$wl_home"
export HOME=$wl_home XDG_CONFIG_HOME=$wl_home/.config XDG_RUNTIME_DIR=$wl_home/runtime
ini=$XDG_CONFIG_HOME/Airlume/Airlume.ini
unset DISPLAY WAYLAND_DISPLAY SWAYSOCK

# run_as_user COMMAND...: the command as the test user, in the session's environment. What runs
# in the background is started through as_user directly, so that $! is the program's own PID.
run_as_user() { "${as_user[@]}" "$@"; }

# The saver must be reachable by the user; a build inside root's home is not, so the program and
# the data folder it finds beside it are then copied where the user can run them.
user_can_run() { run_as_user test -x "$1"; }
if ! user_can_run "$SKYFARE"; then
  build_copy=$work/build
  mkdir -p "$build_copy/bin"
  cp "$SKYFARE" "$build_copy/bin/"
  [[ ! -d $(dirname "$SKYFARE")/../share ]] || cp -r "$(dirname "$SKYFARE")/../share" "$build_copy/"
  chmod -R a+rX "$build_copy"
  SKYFARE=$build_copy/bin/$(basename "$SKYFARE")
  user_can_run "$SKYFARE" || fail "the test user cannot run $SKYFARE"
fi

swaymsg_() { run_as_user swaymsg "$@"; }
outputs() { swaymsg_ -t get_outputs -r | grep -c '"name": "HEADLESS-'; }
has_outputs() { (($(outputs) == $1)); }

# sway 1.7 on headless outputs now and then loses a frame's damage on one output, which then
# shows only the parts of later frames; redrawing whole outputs each frame shows every client's
# buffer as it is. A benchmark of what sway costs as users run it empties this.
sway_options=(-D damage=rerender)
# Without the seat no key or click reaches the saver, and no wayvnc runs beside sway.
sway_seat=1

# start_sway [OUTPUTS]: a headless sway (two outputs unless told), each output 1920 × 1080, side
# by side; a seat keyboard and pointer from wayvnc on a UNIX socket, as a key sent by wtype is
# lost on a seat without a keyboard.
start_sway() {
  local count=${1:-2}
  cat >"$work/sway.config" <<EOF
output * mode ${kOutputWidth}x${kOutputHeight} scale 1
output HEADLESS-1 position 0 0
output HEADLESS-2 position $kOutputWidth 0
output HEADLESS-3 position $((2 * kOutputWidth)) 0
default_border none
xwayland disable
focus_follows_mouse no
EOF
  chmod a+r "$work/sway.config"
  WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=1 \
    "${as_user[@]}" sway "${sway_options[@]}" --config "$work/sway.config" >"$work/sway.log" 2>&1 &
  sway_pid=$!
  wl_pids+=("$sway_pid")
  local socket
  wait_for 10 compgen -G "$XDG_RUNTIME_DIR/wayland-*.lock" || wl_fail "sway did not start"
  socket=$(compgen -G "$XDG_RUNTIME_DIR/wayland-*.lock" | head -n 1)
  socket=${socket%.lock}
  export WAYLAND_DISPLAY=${socket##*/}
  wait_for 10 compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock" || wl_fail "sway has no IPC socket"
  SWAYSOCK=$(compgen -G "$XDG_RUNTIME_DIR/sway-ipc.*.sock" | head -n 1)
  export SWAYSOCK
  wait_for 10 has_outputs 1 || wl_fail "sway has no output"
  while (($(outputs) < count)); do add_output; done
  ((sway_seat)) || return 0

  "${as_user[@]}" wayvnc -u "$XDG_RUNTIME_DIR/vnc.sock" >"$work/wayvnc.log" 2>&1 &
  vnc_pid=$!
  wl_pids+=("$vnc_pid")
  wait_for 10 seat_has_keyboard || wl_fail "the seat has no keyboard (wayvnc: $(tail -n 3 "$work/wayvnc.log"))"
  # The pointer starts in the middle of the first output.
  move_to $((kOutputWidth / 2)) $((kOutputHeight / 2))
}

# stop_sway: sway and its seat ended, so that the next start_sway makes a fresh one.
stop_sway() {
  local pid kept=()
  for pid in $vnc_pid $sway_pid; do
    kill "$pid" 2>/dev/null || true
    wait_gone_ms "$pid" 2000 || kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  for pid in "${wl_pids[@]}"; do
    [[ $pid == "$sway_pid" || $pid == "$vnc_pid" ]] || kept+=("$pid")
  done
  wl_pids=("${kept[@]}")
  sway_pid= vnc_pid=
  rm -f "$XDG_RUNTIME_DIR"/wayland-* "$XDG_RUNTIME_DIR"/sway-ipc.*
  unset WAYLAND_DISPLAY SWAYSOCK
}

seat_has_keyboard() { swaymsg_ -t get_inputs -r | grep -q '"type": "keyboard"'; }

add_output() {
  local before
  before=$(outputs)
  swaymsg_ create_output >/dev/null || wl_fail "sway made no output"
  wait_for 10 has_outputs $((before + 1)) || wl_fail "the new output did not appear"
}

# start_saver ARGUMENTS...: the build's saver as the test user on sway's display, through Qt's
# Wayland platform unless QT_QPA_PLATFORM says otherwise, with the NAME=VALUE words of saver_env
# added to its environment. QT_QPA_PLATFORM set but empty leaves it out of the saver's
# environment, so that the saver draws on layer surfaces of its own.
saver_env=()
start_saver() {
  local platform=(QT_QPA_PLATFORM="${QT_QPA_PLATFORM-wayland}")
  [[ -n ${QT_QPA_PLATFORM-wayland} ]] || platform=(-u QT_QPA_PLATFORM)
  "${as_user[@]}" env "${platform[@]}" "${saver_env[@]}" \
    "$SKYFARE" "$@" >"$work/saver.out" 2>"$work/saver.err" &
  saver_pid=$!
}

# start_fullscreen_window: another program's full-screen window on the first output (a Control
# Box made full screen), for a saver that must show above it; its PID in fullscreen_pid. The box
# has a runtime folder of its own, so that the saver does not take it for a running saver.
start_fullscreen_window() {
  local before runtime=$wl_home/runtime-other
  before=$(window_count)
  mkdir -p "$runtime"
  chmod 700 "$runtime"
  give_to_user "$runtime"
  start_user_process fullscreen env QT_QPA_PLATFORM=wayland PATH=/nonexistent \
    XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" "$SKYFARE" /c
  fullscreen_pid=$last_pid
  wait_for 10 has_windows $((before + 1)) || wl_fail "no window to make full screen"
  swaymsg_ "[pid=$fullscreen_pid] fullscreen enable" >/dev/null || wl_fail "sway made no window full screen"
  wait_for 5 has_window 1920x1080+0+0 || wl_fail "the window is not full screen: $(windows)"
}

# start_user_process NAME COMMAND...: another program of the session, stopped at cleanup; its
# output goes to NAME.log and its PID to last_pid.
start_user_process() {
  local name=$1
  shift
  "${as_user[@]}" "$@" >"$work/$name.log" 2>&1 &
  last_pid=$!
  wl_pids+=("$last_pid")
}

# The windows on screen, one "APP_ID WIDTHxHEIGHT+X+Y" line each (X and Y in the layout).
windows() {
  swaymsg_ -t get_tree -r | python3 -c '
import json, sys
def walk(node):
    if node.get("pid") and node.get("visible"):
        r = node["rect"]
        print("%s %dx%d+%d+%d" % (node.get("app_id") or node.get("name"), r["width"], r["height"], r["x"], r["y"]))
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))'
}

window_count() { windows | wc -l; }
# has_window GEOMETRY: a window of that size and place, as windows lists it.
has_window() { windows | grep -x ".* $1" >/dev/null; }
has_windows() { (($(window_count) >= $1)); }

# key NAME [MODIFIER]: a key pressed and released on the seat's keyboard (wtype's key names;
# ctrl, alt, shift, …), the modifier held around it.
key() {
  if [[ -n ${2:-} ]]; then
    run_as_user wtype -M "$2" -P "$1" -s 100 -p "$1" -m "$2"
  else
    run_as_user wtype -P "$1" -s 100 -p "$1"
  fi
}
type_text() { run_as_user wtype -d 20 "$1"; }
# move DX DY / move_to X Y: pointer motion by an amount, or to a place in the layout.
move() { swaymsg_ seat seat0 cursor move "$1" "$2" >/dev/null; }
move_to() { swaymsg_ seat seat0 cursor set "$1" "$2" >/dev/null; }
click() {
  swaymsg_ seat seat0 cursor press button1 >/dev/null
  nap 0.05
  swaymsg_ seat seat0 cursor release button1 >/dev/null
}

# screenshot FILE [OUTPUT]: one output (HEADLESS-1, …) or the whole layout, as PNG.
screenshot() {
  local file=$1
  if [[ -n ${2:-} ]]; then
    run_as_user grim -o "$2" - >"$file"
  else
    run_as_user grim - >"$file"
  fi
}

# pixel X Y FILE: the colour of one pixel of a PNG as "R,G,B".
pixel() {
  convert "$3" -format '%[fx:int(255*p{'"$1"','"$2"'}.r)],%[fx:int(255*p{'"$1"','"$2"'}.g)],%[fx:int(255*p{'"$1"','"$2"'}.b)]' info:
}

# lit_box FILE: the bounding box of the pixels that are not black, as "WIDTHxHEIGHT+X+Y".
lit_box() { convert "$1" -fuzz 4% -trim -format '%wx%h%O' info: | sed 's/+0+0$/&/'; }

# distinct_colours FILE [GEOMETRY]: how many colours a picture (or a part of it) holds.
distinct_colours() {
  local crop=()
  [[ -z ${2:-} ]] || crop=(-crop "$2" +repage)
  convert "$1" "${crop[@]}" -format '%k' info:
}

# same_pictures A B: true when two pictures (or parts) are alike pixel for pixel.
same_pictures() { [[ $(compare -metric AE "$1" "$2" null: 2>&1) == 0 ]]; }

# The scene is 4:3, so on a 1920 × 1080 output it fills the middle 1440 columns, all rows.
readonly kSceneBox=1440x1080+240+0
# scene_on OUTPUT: the output shows the whole scene (its screenshot kept as OUTPUT.png).
scene_on() {
  screenshot "$work/$1.png" "$1"
  [[ $(lit_box "$work/$1.png") == "$kSceneBox" ]]
}
shows_scene_everywhere() {
  local output
  for output in "$@"; do scene_on "$output" || return 1; done
}
# scene_or_fail OUTPUT...: waits up to ten seconds for the whole scene on each output.
scene_or_fail() {
  wait_for 10 shows_scene_everywhere "$@" ||
    wl_fail "not the whole scene: $(for o in "$@"; do [[ -s $work/$o.png ]] && echo -n "$o $(lit_box "$work/$o.png") "; done)"
}
