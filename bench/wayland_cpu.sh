#!/usr/bin/env bash
# The saver on layer surfaces under a headless sway against the X11 saver under Xvfb, on one
# 1920 × 1080 screen each, interleaved, each run on a fresh compositor and a fresh X server.
# For each, over a quiet stretch after the warm-up: the share of one core used by the saver's
# process tree and by the display server's, their total, the saver's peak memory, the frames
# per second read off the screen and what the rest of the machine used meanwhile; then the
# ratio of the Wayland total to the X11 total.
#
# Usage: bench/wayland_cpu.sh [-s seconds] [-w warm-up seconds] [-r runs] [-x display number]
#                             [-o sway option]...
# -x puts Xvfb on that display number instead of one it picks; -o passes options to sway
# (-o -D -o damage=rerender redraws whole outputs, as the Wayland tests' sway does).
# Needs build/ (skyfare, skyfare_first_frame_wait) or SKYFARE_BUILD; run as root, sway runs as
# the user $SKYFARE_WL_USER (wltest unless told).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=10
warm_up=3
runs=3
display_number=
options=()
while getopts s:w:r:x:o: option; do
  case $option in
    s) seconds=$OPTARG ;;
    w) warm_up=$OPTARG ;;
    r) runs=$OPTARG ;;
    x) display_number=$OPTARG ;;
    o) options+=("$OPTARG") ;;
    *) exit 2 ;;
  esac
done
build=${SKYFARE_BUILD:-$root/build}
first_frame_wait=$build/bin/skyfare_first_frame_wait
for needed in "$first_frame_wait" "$build/bin/skyfare"; do
  [[ -x $needed ]] || { echo "build first: $needed not found" >&2; exit 1; }
done
export SKYFARE=$build/bin/skyfare
source "$root/tests/wayland/lib.sh"
source "$root/bench/airliner_tail.sh"
sway_options=("${options[@]}")
sway_seat=0
readonly width=$kOutputWidth height=$kOutputHeight
ticks=$(getconf CLK_TCK)
cores=$(nproc)

# User and system CPU ticks of a process and all its descendants so far.
tree_ticks() {
  local pid=$1 total child
  total=$(awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null || echo 0)
  for child in $(pgrep -P "$pid" || true); do
    total=$((total + $(tree_ticks "$child")))
  done
  echo "$total"
}
busy_ticks() { awk '/^cpu / {print $2 + $3 + $4 + $7 + $8}' /proc/stat; }

start_xvfb_here() {
  if [[ -z $display_number ]]; then
    start_xvfb "${width}x${height}"
    return
  fi
  Xvfb ":$display_number" -screen 0 "${width}x${height}x24" -nolisten tcp -noreset \
    >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:$display_number
  wait_for 10 xdpyinfo || fail "Xvfb did not start on :$display_number: $(tail -n 2 "$work/xvfb.log")"
}

# A settings folder of its own for each run, so each starts on the first-run scene.
fresh_settings() {
  export XDG_CONFIG_HOME=$wl_home/config-$RANDOM$RANDOM
  mkdir -p "$XDG_CONFIG_HOME"
  give_to_user "$XDG_CONFIG_HOME"
}

# Screenshots of the screen the saver shows, the time of each (the middle of its taking) in
# shot_ms.
shoot_x11() { import -window root "$1"; }
shoot_wayland() { screenshot "$1" HEADLESS-1; }
timed_shot() {
  local before after
  before=$(now_ms)
  "shoot_$1" "$2"
  after=$(now_ms)
  shot_ms=$(((before + after) / 2))
}

# measure x11|wayland: one run; its figures in the globals saver_pct, server_pct, peak_mib.
measure() {
  local kind=$1 server started first_frame
  fresh_settings
  started=$(now_ms)
  if [[ $kind == x11 ]]; then
    start_xvfb_here
    server=$xvfb_pid
    started=$(now_ms)
    QT_QPA_PLATFORM=xcb start_saver /s
    first_frame=$("$first_frame_wait" "$started" 20000 $((width / 2)) $((height * 3 / 4))) ||
      fail "the X11 saver showed nothing"
  else
    start_sway 1
    server=$sway_pid
    started=$(now_ms)
    QT_QPA_PLATFORM= start_saver /s
    scene_or_fail HEADLESS-1
    first_frame=$(($(now_ms) - started))
  fi

  sleep "$warm_up"
  local p0 s0 b0 t0 p1 s1 b1 t1
  p0=$(tree_ticks "$saver_pid"); s0=$(tree_ticks "$server"); b0=$(busy_ticks); t0=$(now_ms)
  sleep "$seconds"
  p1=$(tree_ticks "$saver_pid"); s1=$(tree_ticks "$server"); b1=$(busy_ticks); t1=$(now_ms)
  alive "$saver_pid" || fail "the $kind saver ended early"
  local peak_kib
  peak_kib=$(awk '/VmHWM/ {print $2}' "/proc/$saver_pid/status")

  # Airliner 1 crosses the left of the screen from about 10 s to 17 s after the start; after a
  # stretch that ends later than 14 s there is no time left for the two screenshots.
  local since=$((($(now_ms) - started) / 1000)) fps=-
  if ((since <= 14)); then
    local x0 x1 u0 u1
    sleep $((since < 10 ? 10 - since : 0))
    timed_shot "$kind" "$work/shot0.png"; u0=$shot_ms
    sleep 3
    timed_shot "$kind" "$work/shot1.png"; u1=$shot_ms
    x0=$(tail_x "$width" "$height" "$work/shot0.png")
    x1=$(tail_x "$width" "$height" "$work/shot1.png")
    fps=$(frames_per_s "$width" "$height" "$x0" "$x1" "$u0" "$u1")
    [[ -z ${SCREENSHOT_DIR:-} ]] || cp "$work/shot1.png" "$SCREENSHOT_DIR/wayland-cpu-$kind.png"
  fi

  read -r saver_pct server_pct peak_mib < <(awk -v hz="$ticks" -v ms="$((t1 - t0))" \
    -v p="$((p1 - p0))" -v s="$((s1 - s0))" -v peak="$peak_kib" 'BEGIN {
      printf "%.2f %.2f %.1f\n", 100 * p / hz / (ms / 1000), 100 * s / hz / (ms / 1000), peak / 1024 }')
  local label=Xvfb
  [[ $kind == x11 ]] || label=sway
  awk -v run="$run" -v kind="$kind" -v ff="$first_frame" -v p="$saver_pct" -v s="$server_pct" \
      -v label="$label" -v peak="$peak_mib" -v fps="$fps" \
      -v other="$((b1 - b0 - (p1 - p0) - (s1 - s0)))" -v hz="$ticks" -v ms="$((t1 - t0))" \
      -v cores="$cores" 'BEGIN {
    printf "run %d  %-7s first frame %5d ms  %5s frames/s  saver %5.2f %%  %-4s %5.2f %%  total %5.2f %%  peak %5.1f MiB  other load %4.1f %%\n",
      run, kind, ff, fps, p, label, s, p + s, peak, 100 * other / hz / (ms / 1000) / cores }'

  kill "$saver_pid"
  wait_gone_ms "$saver_pid" 3000 || fail "the $kind saver did not end on SIGTERM"
  saver_pid=
  if [[ $kind == x11 ]]; then
    kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null || true; xvfb_pid=
    unset DISPLAY
  else
    stop_sway
  fi
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg); sway ${sway_options[*]:-(damage tracked)}"
ratios=()
for ((run = 1; run <= runs; run++)); do
  # Which goes first alternates, so that a change in the machine's other load falls on both.
  order=(x11 wayland)
  ((run % 2)) || order=(wayland x11)
  for kind in "${order[@]}"; do
    measure "$kind"
    declare "${kind}_saver=$saver_pct" "${kind}_server=$server_pct"
  done
  # shellcheck disable=SC2154
  ratio=$(awk -v w="$wayland_saver" -v ws="$wayland_server" -v x="$x11_saver" -v xs="$x11_server" \
    'BEGIN { printf "%.2f", (x + xs > 0) ? (w + ws) / (x + xs) : 0 }')
  ratios+=("$ratio")
  echo "run $run  Wayland total / X11 total: $ratio"
done
echo "ratios: ${ratios[*]}; median $(printf '%s\n' "${ratios[@]}" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}')"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
