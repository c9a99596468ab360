# Helpers for the end-to-end tests: each test gets an Xvfb server, a config folder and a
# runtime folder of its own, and waits on conditions with a watchdog instead of sleeping.
set -euo pipefail

SKYFARE=${SKYFARE:?the path of the skyfare program}
work=$(mktemp -d)
export XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export SDL_AUDIODRIVER=dummy
unset QT_QPA_PLATFORM
ini=$XDG_CONFIG_HOME/Airlume/Airlume.ini
xvfb_pid=
saver_pid=

cleanup() {
  [[ -n $saver_pid ]] && kill "$saver_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  [[ -n ${KEEP_WORK:-} ]] || rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [[ -s $work/saver.err ]] && sed "s/^/  saver: /" "$work/saver.err" >&2
  [[ -n $saver_pid ]] && alive "$saver_pid" && echo "  (the saver is still running)" >&2
  exit 1
}

# start_xvfb WIDTHxHEIGHT [extra Xvfb arguments]
start_xvfb() {
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 "${1}x24" -nolisten tcp -noreset "${@:2}" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local number
  read -r -t 10 number <&"$fd" || fail "Xvfb did not start"
  export DISPLAY=:$number
}

# Deadlines are counted in microseconds from EPOCHREALTIME, which reading starts no process;
# bash's SECONDS counts whole seconds, so a deadline taken from it came up to a second early.
now_ms() { echo $((${EPOCHREALTIME/[.,]/} / 1000)); }

# nap SECONDS: a pause that starts no process, for loops that watch a deadline closely.
exec {nap_fd}<> <(:)
nap() { read -r -t "$1" -u "$nap_fd" || true; }

# wait_for SECONDS COMMAND...: runs the command every 50 ms until it succeeds; false once the
# whole seconds have passed.
wait_for() {
  local deadline=$((${EPOCHREALTIME/[.,]/} + $1 * 1000000))
  shift
  until "$@" >/dev/null 2>&1; do
    ((${EPOCHREALTIME/[.,]/} < deadline)) || return 1
    nap 0.05
  done
}

# True while a process runs; one that has ended but is not yet reaped by its parent (a saver a
# host started, reaped late once the host is gone) counts as ended. Starts no process.
running() {
  local stat
  { read -r stat <"/proc/$1/stat"; } 2>/dev/null || return 1
  stat=${stat##*) }
  [[ ${stat%% *} != Z ]]
}
alive() { running "$1"; }
gone() { ! running "$1"; }

# wait_gone_ms PID MILLISECONDS: true when the process ends within the time from the call. It
# looks every 5 ms and starts no process meanwhile, so a busy machine delays the look little.
wait_gone_ms() {
  local deadline=$((${EPOCHREALTIME/[.,]/} + $2 * 1000))
  while running "$1"; do
    ((${EPOCHREALTIME/[.,]/} < deadline)) || return 1
    nap 0.005
  done
}

# end_by_signal SIGNAL PID MILLISECONDS: sends the signal and tells whether the process ends
# within the time from the sending; ended_ms then holds how long it took.
end_by_signal() {
  local sent=${EPOCHREALTIME/[.,]/}
  kill -"$1" "$2"
  wait_gone_ms "$2" "$3" || return 1
  ended_ms=$(((${EPOCHREALTIME/[.,]/} - sent) / 1000))
}

start_saver() {
  "$SKYFARE" "$@" >"$work/saver.out" 2>"$work/saver.err" &
  saver_pid=$!
}

# Waits for the saver to end and keeps its exit status in saver_status (128 + N when signal N
# ended it). It waits in this shell: a zombie counts as gone before this shell has reaped it, and
# a subshell cannot wait for its parent's child, so "$(wait ...)" would then report a failure.
wait_saver() {
  saver_status=0
  wait "$saver_pid" || saver_status=$?
  saver_pid=
}

# saver_exited_zero: waits for the saver as wait_saver does; true when it ended with exit 0.
saver_exited_zero() {
  wait_saver
  ((saver_status == 0))
}

# The visible windows of a process, one "WIDTHxHEIGHT+X+Y" line each.
windows_of() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    xdotool getwindowgeometry --shell "$id" | awk -F= '
      /^X=/ {x=$2} /^Y=/ {y=$2} /^WIDTH=/ {w=$2} /^HEIGHT=/ {h=$2}
      END {print w "x" h "+" x "+" y}'
  done
}

has_window_of_size() {
  local list
  list=$(windows_of "$1")
  grep -qx "$2" <<<"$list"
}

# pixel X Y [file]: the colour of one pixel of the screen (or of a PNG) as "R,G,B".
pixel() {
  local file=${3:-}
  if [[ -z $file ]]; then
    file=$work/shot.png
    import -window root "$file"
  fi
  convert "$file" -format '%[fx:int(255*p{'"$1"','"$2"'}.r)],%[fx:int(255*p{'"$1"','"$2"'}.g)],%[fx:int(255*p{'"$1"','"$2"'}.b)]' info:
}

screenshot() { import -window root "$1"; }

# A key pressed as a person presses it. A press and release sent in the same instant are, now
# and then, taken by Qt's X11 input for an auto-repeat pair and the press is dropped.
press_key() {
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
}
