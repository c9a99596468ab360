#!/usr/bin/env bash
# Runs Skyfare side by side with light peer savers, interleaved, each on a fresh Xvfb, at
# 800 × 600, 1920 × 1080, 3840 × 2160 and on two 1920 × 1080 monitors, and prints one line
# per run: time to the first frame on the screen, frames per second read off the screen
# (Skyfare only: airliner 1 moves one scene pixel per frame), the share of one core used by
# the program and by the X server over a quiet stretch, the program's peak memory, and the
# load the rest of the machine put on it meanwhile (share of all cores).
#
# Usage: bench/peers.sh [-s seconds] [-r runs] [-z size]... [label=command]...
# The build folder is ./build or $SKYFARE_BUILD (for skyfare_first_frame_wait, and for Skyfare
# when no programs are given). With no programs: Skyfare from the build, and pacman and noseguy run with -root (Debian's
# xscreensaver-data-extra, installed when missing). A Skyfare command gets "/s"; to compare two
# builds:  bench/peers.sh old=../base/build/bin/skyfare new=build/bin/skyfare
# SKYFARE_BENCH_DISPLAY=:N runs every X server on display N instead of the first free one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=10
runs=3
sizes=()
while getopts s:r:z: option; do
  case $option in
    s) seconds=$OPTARG ;;
    r) runs=$OPTARG ;;
    z) sizes+=("$OPTARG") ;;
    *) exit 2 ;;
  esac
done
shift $((OPTIND - 1))
[[ ${#sizes[@]} -gt 0 ]] || sizes=(800x600 1920x1080 3840x2160 2x1920x1080)
hacks=/usr/libexec/xscreensaver
build=${SKYFARE_BUILD:-$root/build}
# Reads a small block in the middle of the screen until it is no longer black.
first_frame_wait=$build/bin/skyfare_first_frame_wait
[[ -x $first_frame_wait ]] || { echo "build first: $first_frame_wait not found" >&2; exit 1; }
programs=("$@")
if [[ ${#programs[@]} -eq 0 ]]; then
  [[ -x $hacks/pacman ]] || apt-get install -y -q --no-install-recommends xscreensaver-data-extra
  programs=("skyfare=$build/bin/skyfare" "pacman=$hacks/pacman -root"
            "noseguy=$hacks/noseguy -root")
fi

source "$root/bench/lib.sh"
source "$root/bench/airliner_tail.sh"
cores=$(nproc)

busy_ticks() { awk '/^cpu / {print $2 + $3 + $4 + $7 + $8}' /proc/stat; }

# Takes a screenshot into the file and prints when (the middle of its taking).
shoot() {
  local before after
  before=$(now_ms)
  import -window root "$1"
  after=$(now_ms)
  echo "$(((before + after) / 2))"
}

start_server() {
  local monitors=1 size=$1
  if [[ $size == 2x* ]]; then
    monitors=2
    size=${size#2x}
  fi
  local width=${size%x*} height=${size#*x}
  local screen=("-screen" 0 "$((width * monitors))x${height}x24" -nolisten tcp -noreset)
  if [[ -n ${SKYFARE_BENCH_DISPLAY:-} ]]; then
    if DISPLAY=$SKYFARE_BENCH_DISPLAY xdpyinfo >/dev/null 2>&1; then
      echo "peers: display $SKYFARE_BENCH_DISPLAY is already in use" >&2
      exit 1
    fi
    Xvfb "$SKYFARE_BENCH_DISPLAY" "${screen[@]}" >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    export DISPLAY=$SKYFARE_BENCH_DISPLAY
    local waited
    for ((waited = 0; waited < 100; waited++)); do
      xdpyinfo >/dev/null 2>&1 && break
      sleep 0.1
    done
  else
    exec {fd}<> <(:)
    Xvfb -displayfd "$fd" "${screen[@]}" >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    read -r -t 10 number <&"$fd"
    export DISPLAY=:$number
  fi
  if [[ $monitors == 2 ]]; then
    xrandr --setmonitor left "${width}/${width}x${height}/${height}+0+0" none >/dev/null
    xrandr --setmonitor right "${width}/${width}x${height}/${height}+${width}+0" screen >/dev/null
  fi
}

measure() {
  local size=$1 label=$2 command=$3
  local monitor=${size#2x}
  local width=${monitor%x*} height=${monitor#*x}
  export XDG_CONFIG_HOME=$work/config-$RANDOM
  start_server "$size"
  local skyfare=0
  [[ $command == */skyfare ]] && { skyfare=1; command+=" /s"; }
  local start first_frame
  start=$(now_ms)
  $command 2>"$work/program.err" >/dev/null &
  program=$!
  # A peer may leave the middle of the screen black for a while: -1 then.
  first_frame=$("$first_frame_wait" "$start" $((skyfare ? 20000 : 3000)) $((width / 2)) \
    $((height / 2))) || first_frame=-1
  sleep 3

  local p0 s0 b0 t0 p1 s1 b1 t1
  p0=$(cpu_ticks $program); s0=$(cpu_ticks $xvfb); b0=$(busy_ticks); t0=$(now_ms)
  sleep "$seconds"
  p1=$(cpu_ticks $program); s1=$(cpu_ticks $xvfb); b1=$(busy_ticks); t1=$(now_ms)
  local fps=-
  # Airliner 1 is where the screenshots look for it from about 10 s to 17 s after the start.
  if [[ $skyfare == 1 ]] && ((3 + seconds <= 14)); then
    sleep $((10 - 3 - seconds > 0 ? 10 - 3 - seconds : 0))
    local x0 x1 u0 u1
    u0=$(shoot "$work/shot0.png")
    sleep 3
    u1=$(shoot "$work/shot1.png")
    x0=$(tail_x "$width" "$height" "$work/shot0.png")
    x1=$(tail_x "$width" "$height" "$work/shot1.png")
    fps=$(frames_per_s "$width" "$height" "$x0" "$x1" "$u0" "$u1")
  fi
  local peak_kib
  peak_kib=$(awk '/VmHWM/ {print $2}' "/proc/$program/status")
  awk -v size="$size" -v label="$label" -v ff="$first_frame" -v fps="$fps" -v hz="$ticks" \
      -v secs="$(((t1 - t0)))" -v p0="$p0" -v p1="$p1" -v s0="$s0" -v s1="$s1" -v b0="$b0" \
      -v b1="$b1" -v cores="$cores" -v peak="$peak_kib" 'BEGIN {
    secs /= 1000
    prog = 100 * (p1 - p0) / hz / secs; server = 100 * (s1 - s0) / hz / secs
    other = 100 * ((b1 - b0) - (p1 - p0) - (s1 - s0)) / hz / secs / cores
    printf "%-11s %-9s first frame %5d ms  %5s frames/s  program %4.1f %%  X %4.1f %%  total %4.1f %%  peak %6.1f MiB  other load %4.1f %%\n",
      size, label, ff, fps, prog, server, prog + server, peak / 1024, other }'

  kill $program; wait $program 2>/dev/null || true; program=
  kill $xvfb; wait $xvfb 2>/dev/null || true; xvfb=
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for ((run = 1; run <= runs; run++)); do
  for size in "${sizes[@]}"; do
    for entry in "${programs[@]}"; do
      measure "$size" "${entry%%=*}" "${entry#*=}"
    done
  done
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
