#!/usr/bin/env bash
# The host entry point beside the full-screen saver, on one screen size: time from start to the
# first frame on the screen, the share of one core used by the program and by the X server over
# a quiet stretch, peak memory, and the time from SIGTERM to the end of the process. The entry
# point draws into a host window that covers the screen, as XScreenSaver's does.
# Usage: bench/host_start.sh [build folder] [WIDTHxHEIGHT] [seconds] [runs]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
size=${2:-1920x1080}
seconds=${3:-10}
runs=${4:-3}
width=${size%x*}
height=${size#*x}
host_window=$build/bin/preview_host
for needed in "$build/bin/skyfare" "$build/libexec/skyfare/skyfare-hack" "$host_window"; do
  [[ -x $needed ]] || { echo "build first: $needed not found" >&2; exit 1; }
done

source "$root/bench/lib.sh"

# The scene is dark: neither the black of an empty screen nor the white of the bare host window.
scene_shown() {
  import -window root png:- | convert png:- -format '%[fx:mean>0.01 && mean<0.5]' info: 2>/dev/null
}
running() { [[ $(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) =~ ^[^Z]$ ]]; }

measure() {  # NAME: runs the program started by start_program and prints one line
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 "${size}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  read -r -t 10 number <&"$fd"
  export DISPLAY=:$number XDG_CONFIG_HOME=$work/config-$1
  start_program "$1"
  until [[ $(scene_shown) == 1 ]]; do sleep 0.01; done
  local first_frame=$(($(now_ms) - start))
  sleep 1
  local a0 b0 a1 b1
  a0=$(cpu_ticks "$program"); b0=$(cpu_ticks "$xvfb")
  sleep "$seconds"
  a1=$(cpu_ticks "$program"); b1=$(cpu_ticks "$xvfb")
  local peak_kib
  peak_kib=$(awk '/VmHWM/ {print $2}' "/proc/$program/status")
  local asked
  asked=$(now_ms)
  kill -TERM "$program"
  while running "$program"; do sleep 0.005; done
  local ended=$(($(now_ms) - asked))
  wait "$program" 2>/dev/null || true
  program=
  [[ -n ${host_pid:-} ]] && { kill "$host_pid" 2>/dev/null || true; host_pid=; }
  kill $xvfb; wait $xvfb 2>/dev/null || true; xvfb=
  awk -v name="$1" -v ff="$first_frame" -v a0="$a0" -v a1="$a1" -v b0="$b0" -v b1="$b1" \
      -v hz="$ticks" -v secs="$seconds" -v peak="$peak_kib" -v ended="$ended" 'BEGIN {
    printf "%-13s first frame %5d ms   program %5.1f %%   X server %5.1f %%   total %5.1f %%   peak memory %6.1f MiB   end after SIGTERM %4d ms\n",
      name, ff, 100 * (a1 - a0) / hz / secs, 100 * (b1 - b0) / hz / secs,
      100 * ((a1 - a0) + (b1 - b0)) / hz / secs, peak / 1024, ended }'
}

start_program() {
  if [[ $1 == skyfare ]]; then
    start=$(now_ms)
    "$build/bin/skyfare" /s 2>"$work/err" &
    program=$!
  else
    coproc host { "$host_window" "$width" "$height" 2>/dev/null; }
    host_pid=$host_PID
    local window
    read -r -t 10 window <&"${host[0]}"
    start=$(now_ms)
    XSCREENSAVER_WINDOW=$window "$build/libexec/skyfare/skyfare-hack" --root 2>"$work/err" &
    program=$!
  fi
}

echo "$size, $runs runs each, interleaved; load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for ((run = 1; run <= runs; ++run)); do
  measure skyfare
  measure skyfare-hack
done
