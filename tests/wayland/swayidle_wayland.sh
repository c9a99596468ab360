#!/usr/bin/env bash
# The saver started by swayidle: after the idle timeout, in the background, so that a later
# timeout still fires while it shows, as full-screen windows or on layer surfaces; started in the
# foreground it holds every later timeout.
source "$(dirname "$0")/lib.sh"
start_sway 1
saver_command="env QT_QPA_PLATFORM=wayland $SKYFARE /s"
layer_saver_command="env -u QT_QPA_PLATFORM $SKYFARE /s"
marker=$work/home/later-timeout

# start_idle SAVER_COMMAND: swayidle waiting for each command, with the saver after one idle
# second and the marker after three.
start_idle() {
  rm -f "$marker"
  idle_started=$(now_ms)
  start_user_process swayidle swayidle -w timeout 1 "$1" timeout 3 "touch $marker"
  idle_pid=$last_pid
}
stop_idle() {
  kill "$idle_pid"
  wait_gone_ms "$idle_pid" 2000 || wl_fail "swayidle did not end"
}
saver_pids() { pgrep -u "$(id -u "$wl_user" 2>/dev/null || id -u)" -x "$(basename "$SKYFARE")"; }
saver_shows() { saver_pids >/dev/null && has_windows 1; }
layer_saver_shows() { saver_pids >/dev/null && ! has_windows 1 && scene_on HEADLESS-1; }

echo "in the background: the saver after its timeout, and the later timeout while it shows"
start_idle "$saver_command >/dev/null 2>&1 &"
wait_for 10 saver_shows || wl_fail "swayidle did not start the saver: $(cat "$work/swayidle.log")"
shown_ms=$(($(now_ms) - idle_started))
((shown_ms >= 1000)) || wl_fail "the saver showed ${shown_ms} ms after swayidle started, before its timeout"
wait_for 10 test -e "$marker" || wl_fail "the later timeout did not fire while the saver showed"
saver_shows || wl_fail "the saver did not stay while the later timeout fired"
saver_pid=$(saver_pids)
# swayidle goes first: a second after the key it would start another saver.
stop_idle
key a
wait_for 2 gone "$saver_pid" || wl_fail "a key did not end the saver swayidle started"
saver_pid=

echo "on layer surfaces, in the background: the saver after its timeout, and the later timeout"
start_idle "$layer_saver_command >/dev/null 2>&1 &"
wait_for 10 layer_saver_shows || wl_fail "swayidle did not start the layer saver: $(cat "$work/swayidle.log")"
shown_ms=$(($(now_ms) - idle_started))
((shown_ms >= 1000)) || wl_fail "the layer saver showed ${shown_ms} ms after swayidle started, before its timeout"
wait_for 10 test -e "$marker" || wl_fail "the later timeout did not fire while the layer saver showed"
layer_saver_shows || wl_fail "the layer saver did not stay while the later timeout fired"
saver_pid=$(saver_pids)
stop_idle
key a
wait_for 2 gone "$saver_pid" || wl_fail "a key did not end the layer saver swayidle started"
saver_pid=

echo "in the foreground: the saver holds the later timeout until it ends"
start_idle "$saver_command >/dev/null 2>&1"
wait_for 10 saver_shows || wl_fail "swayidle did not start the saver: $(cat "$work/swayidle.log")"
! wait_for 4 test -e "$marker" || wl_fail "the later timeout fired while a saver in the foreground ran"
saver_pid=$(saver_pids)
key a
wait_for 2 gone "$saver_pid" || wl_fail "a key did not end the saver"
saver_pid=
echo "passed"
