#!/usr/bin/env bash
# The saver as a lock screen's background: started with a connection handed over in
# WAYLAND_SOCKET, it draws on the background layer of every output, ignores input, takes no
# single-instance lock, and ends with 0 when the locker closes the connection.
source "$(dirname "$0")/lib.sh"
start_sway 2

# A locker in miniature: connects to sway, hands the connection to the saver and prints the
# saver's PID; a line on its input shuts the connection down; it exits with the saver's code.
launcher=$work/launcher.py
cat >"$launcher" <<'PY'
import os, socket, subprocess, sys
connection = socket.socket(socket.AF_UNIX)
connection.connect(os.path.join(os.environ["XDG_RUNTIME_DIR"], os.environ["WAYLAND_DISPLAY"]))
env = dict(os.environ, WAYLAND_SOCKET=str(connection.fileno()))
env.pop("WAYLAND_DISPLAY")
env.pop("QT_QPA_PLATFORM", None)
saver = subprocess.Popen(sys.argv[2:], env=env, pass_fds=[connection.fileno()])
print(saver.pid, flush=True)
with open(sys.argv[1]) as control:
    control.readline()
connection.shutdown(socket.SHUT_RDWR)
connection.close()
sys.exit(saver.wait())
PY
give_to_user "$launcher"

# start_locker NAME ARGUMENTS...: the launcher with the saver, its control FIFO at NAME.fifo.
start_locker() {
  local name=$1
  shift
  mkfifo "$work/$name.fifo"
  give_to_user "$work/$name.fifo"
  "${as_user[@]}" env WAYLAND_DISPLAY="$WAYLAND_DISPLAY" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" \
    HOME="$HOME" XDG_CONFIG_HOME="$XDG_CONFIG_HOME" \
    python3 "$launcher" "$work/$name.fifo" "$SKYFARE" "$@" >"$work/$name.out" 2>"$work/$name.err" &
  locker_pid=$!
  wl_pids+=("$locker_pid")
  wait_for 5 test -s "$work/$name.out" || wl_fail "the launcher started no saver: $(cat "$work/$name.err")"
  locker_saver=$(head -1 "$work/$name.out")
}

echo "through a handed-over connection: the scene on both outputs, on the background layer"
started=$(now_ms)
start_locker first /s
scene_or_fail HEADLESS-1 HEADLESS-2
echo "first frame on both outputs after $(($(now_ms) - started)) ms"
(($(window_count) == 0)) || wl_fail "the background is listed as a window: $(windows)"
first_pid=$locker_pid first_saver=$locker_saver

echo "input does not end it, and a second one runs beside it"
key a
click
move 40 0
start_locker second --lock-background
scene_or_fail HEADLESS-1 HEADLESS-2
nap 1
alive "$first_saver" || wl_fail "input ended the background"
alive "$locker_saver" || wl_fail "the second background did not run: $(cat "$work/second.err")"

echo "closing the connection ends each with 0"
for name in first second; do
  [[ $name == first ]] && pid=$first_pid || pid=$locker_pid
  closed=$(now_ms)
  echo >"$work/$name.fifo"
  wait_gone_ms "$pid" 5000 || wl_fail "the $name background did not end when its connection closed"
  status=0
  wait "$pid" || status=$?
  ((status == 0)) || wl_fail "the $name background ended with $status: $(cat "$work/$name.err")"
  echo "$name ended $(($(now_ms) - closed)) ms after its connection closed"
done
echo "passed"
