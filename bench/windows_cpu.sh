#!/usr/bin/env bash
# The Windows saver under Wine against the Linux build on the same screen, interleaved, each run
# on a fresh Xvfb: time to the first frame on the screen, then the share of one core used by the
# saver, by Wine's server and by the X server over a quiet stretch, and the saver's peak memory.
#
# Each run ends with the Wine build's figures over the Linux build's: total CPU and peak memory.
#
# Usage: bench/windows_cpu.sh [-s seconds] [-r runs] [-z size]... [-d display]
# -d puts every X server on that display number instead of the first free one.
# Needs build/ (skyfare, skyfare_first_frame_wait) and build-windows/ (Skyfare.scr, its data and
# the desktop tests' prefix, which scripts/windows --test makes), or SKYFARE_BUILD and
# SKYFARE_WINDOWS_BUILD_DIR.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=10
runs=3
sizes=()
display=
while getopts s:r:z:d: option; do
  case $option in
    s) seconds=$OPTARG ;;
    r) runs=$OPTARG ;;
    z) sizes+=("$OPTARG") ;;
    d) display=$OPTARG ;;
    *) exit 2 ;;
  esac
done
[[ ${#sizes[@]} -gt 0 ]] || sizes=(1920x1080)
build=${SKYFARE_BUILD:-$root/build}
windows=${SKYFARE_WINDOWS_BUILD_DIR:-$root/build-windows}
first_frame_wait=$build/bin/skyfare_first_frame_wait
for needed in "$first_frame_wait" "$build/bin/skyfare" "$windows/bin/Skyfare.scr"; do
  [[ -x $needed ]] || { echo "build first: $needed not found" >&2; exit 1; }
done
source "$root/bench/lib.sh"
export WINEPREFIX=$windows/wine-desktop WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
[[ -f $WINEPREFIX/system.reg ]] || { echo "make the prefix first: scripts/windows --test" >&2; exit 1; }
installation=$WINEPREFIX/drive_c/Corvinel/Skyfare
rm -rf "$installation" && mkdir -p "$installation" && cp -r "$windows/data/." "$installation/"
echo 'pcm.!default { type null }' >"$work/no-sound.conf"
export ALSA_CONFIG_PATH=$work/no-sound.conf

start_server() {
  if [[ -n $display ]]; then
    Xvfb ":$display" -screen 0 "${1}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    export DISPLAY=:$display
    local tries
    for ((tries = 0; tries < 100; tries++)); do
      xdpyinfo >/dev/null 2>&1 && return
      sleep 0.1
    done
    echo "Xvfb did not start on :$display" >&2
    exit 1
  fi
  exec {fd}<> <(:)
  Xvfb -displayfd "$fd" -screen 0 "${1}x24" -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  read -r -t 10 number <&"$fd"
  export DISPLAY=:$number
}

# The server of this prefix, not another one on the machine: it works in a folder named for the
# prefix's device and inode.
own_wineserver() {
  local folder pid
  folder=$(printf 'server-%x-%x' "$(stat -L -c %d "$WINEPREFIX")" "$(stat -L -c %i "$WINEPREFIX")")
  for pid in $(pgrep wineserver); do
    [[ $(readlink "/proc/$pid/cwd") == */"$folder" ]] && { echo "$pid"; return; }
  done
}

measure() {
  local size=$1 label=$2
  local width=${size%x*} height=${size#*x}
  export XDG_CONFIG_HOME=$work/config-$RANDOM
  start_server "$size"
  local saver server=
  if [[ $label == windows ]]; then
    # Wine's server keeps the display of its first client: a fresh one for each run.
    wineserver -k 2>/dev/null || true
    wineserver -w
    wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
    wine reg delete 'HKCU\Software\VB and VBA Program Settings\Airlume' /f >/dev/null 2>&1 || true
    server=$(own_wineserver)
    [[ -n $server ]] || { echo "no Wine server for $WINEPREFIX" >&2; exit 1; }
  fi
  local start first_frame
  start=$(now_ms)
  if [[ $label == windows ]]; then
    wine "$windows/bin/Skyfare.scr" /s >/dev/null 2>&1 &
  else
    "$build/bin/skyfare" /s >/dev/null 2>&1 &
  fi
  program=$!
  first_frame=$("$first_frame_wait" "$start" 20000 $((width / 2)) $((height * 3 / 4))) || first_frame=-1
  saver=$program
  # The launcher becomes the Windows process, or (on some Wine builds) starts it as its child.
  if [[ $label == windows ]]; then
    saver=$(pgrep -P "$program" | head -n 1 || true)
    [[ -n $saver ]] || saver=$program
  fi
  sleep 3
  local p0 w0=0 s0 t0 p1 w1=0 s1 t1
  p0=$(cpu_ticks "$saver"); [[ -z $server ]] || w0=$(cpu_ticks "$server"); s0=$(cpu_ticks $xvfb); t0=$(now_ms)
  sleep "$seconds"
  p1=$(cpu_ticks "$saver"); [[ -z $server ]] || w1=$(cpu_ticks "$server"); s1=$(cpu_ticks $xvfb); t1=$(now_ms)
  local peak_kib
  peak_kib=$(awk '/VmHWM/ {print $2}' "/proc/$saver/status")
  awk -v size="$size" -v label="$label" -v ff="$first_frame" -v hz="$ticks" -v secs="$((t1 - t0))" \
      -v p0="$p0" -v p1="$p1" -v w0="$w0" -v w1="$w1" -v s0="$s0" -v s1="$s1" -v peak="$peak_kib" 'BEGIN {
    secs /= 1000
    prog = 100 * (p1 - p0) / hz / secs; wine = 100 * (w1 - w0) / hz / secs
    x = 100 * (s1 - s0) / hz / secs
    printf "%-10s %-8s first frame %5d ms  saver %4.1f %%  wineserver %4.1f %%  X %4.1f %%  total %4.1f %%  peak %6.1f MiB\n",
      size, label, ff, prog, wine, x, prog + wine + x, peak / 1024
    printf "%.3f %.1f\n", prog + wine + x, peak / 1024 >"/dev/stderr" }' 2>"$work/$label.figures"
  [[ $label != windows ]] || pkill -KILL -P "$program" 2>/dev/null || true
  kill $program 2>/dev/null || true; wait $program 2>/dev/null || true; program=
  [[ $label != windows ]] || wineserver -k 2>/dev/null || true
  kill $xvfb; wait $xvfb 2>/dev/null || true; xvfb=
}

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
for ((run = 1; run <= runs; run++)); do
  for size in "${sizes[@]}"; do
    measure "$size" linux
    measure "$size" windows
    read -r linux_cpu linux_peak <"$work/linux.figures"
    read -r windows_cpu windows_peak <"$work/windows.figures"
    awk -v size="$size" -v lc="$linux_cpu" -v wc="$windows_cpu" -v lp="$linux_peak" -v wp="$windows_peak" 'BEGIN {
      printf "%-10s wine/x11 CPU %.2f ×  peak %.2f ×\n", size, (lc > 0 ? wc / lc : 0), (lp > 0 ? wp / lp : 0) }'
  done
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
