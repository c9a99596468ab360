#!/usr/bin/env bash
# Starts the real saver under Xvfb at 800 × 600 and at 1920 × 1080 on its first-run settings
# (picture background, clock on, fast jet on) and prints, for each size:
#   - the time from start to the first frame on the screen,
#   - frames per second, read off the screen: airliner 1 moves one scene pixel per frame, so
#     its travel between two screenshots counts the frames,
#   - the share of one core used by the saver and by the X server over a quiet stretch,
#   - the saver's peak memory.
# Usage: bench/saver_load.sh [build folder] [seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
seconds=${2:-10}
skyfare=$build/bin/skyfare
[[ -x $skyfare ]] || { echo "build first: $skyfare not found" >&2; exit 1; }

source "$root/bench/lib.sh"


# The screen X of airliner 1's tail: the leftmost column below the moon with a tall run of
# bright pixels (stars and lit windows are smaller). Valid while airliner 1 is the only bright
# thing there, from the jet's leaving (about 10 s) until airliner 2 comes (about 17 s).
tail_x() {
  import -window root "$work/shot.png"
  convert "$work/shot.png" -crop "${1}x$(($2 * 3 / 4))+0+$(($2 / 4))" -colorspace gray \
    -threshold 70% -morphology erode rectangle:3x10 -format '%@' info: | awk -F'[x+]' '{print $3}'
}

for size in 800x600 1920x1080; do
  width=${size%x*}
  height=${size#*x}
  export XDG_CONFIG_HOME=$work/config-$size
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 "${size}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  read -r -t 10 number <&"$fd"
  export DISPLAY=:$number

  start=$(now_ms)
  "$skyfare" /s 2>"$work/saver.err" &
  program=$!
  until [[ $(import -window root png:- | convert png:- -format '%[fx:mean>0.01]' info: 2>/dev/null) == 1 ]]; do
    sleep 0.01
  done
  first_frame=$(($(now_ms) - start))
  sleep 1

  # No screenshots while the load is measured: they cost the X server.
  saver0=$(cpu_ticks $program); server0=$(cpu_ticks $xvfb)
  sleep "$seconds"
  saver1=$(cpu_ticks $program); server1=$(cpu_ticks $xvfb)
  sleep $((11 - seconds > 0 ? 11 - seconds : 0))
  x0=$(tail_x "$width" "$height"); t0=$(now_ms)
  sleep 5
  x1=$(tail_x "$width" "$height"); t1=$(now_ms)
  peak_kib=$(awk '/VmHWM/ {print $2}' "/proc/$program/status")

  scale=$(awk -v w="$width" -v h="$height" 'BEGIN {s = w / 800; if (h / 600 < s) s = h / 600; print s}')
  awk -v size="$size" -v ff="$first_frame" -v x0="$x0" -v x1="$x1" -v t0="$t0" -v t1="$t1" \
      -v s="$scale" -v a0="$saver0" -v a1="$saver1" -v b0="$server0" -v b1="$server1" \
      -v hz="$ticks" -v secs="$seconds" -v peak="$peak_kib" 'BEGIN {
    printf "%-9s first frame %5d ms   %5.1f frames/s   saver %5.1f %%   X server %5.1f %%   total %5.1f %%   peak memory %6.1f MiB\n",
      size, ff, (x1 - x0) / s / ((t1 - t0) / 1000), 100 * (a1 - a0) / hz / secs,
      100 * (b1 - b0) / hz / secs, 100 * ((a1 - a0) + (b1 - b0)) / hz / secs, peak / 1024 }'

  kill $program; wait $program 2>/dev/null || true; program=
  kill $xvfb; wait $xvfb 2>/dev/null || true; xvfb=
done
