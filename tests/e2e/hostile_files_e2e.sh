#!/usr/bin/env bash
# The saver among files and devices that would block, bloat or crash a careless reader: it
# shows its window, stays within its memory, runs silent where it must and ends on a key or a
# signal at once.
source "$(dirname "$0")/lib.sh"
SKYFARE_HACK=${SKYFARE_HACK:?the path of the host entry point}
start_xvfb 1024x768

# A copy of the program beside a data folder of its own, whose files a case may replace.
mkdir -p "$work/bin" "$work/share/skyfare"
cp "$SKYFARE" "$work/bin/skyfare"
built_data=$(dirname "$SKYFARE")/../share/skyfare
for file in "$built_data"/*; do ln -s "$file" "$work/share/skyfare/"; done
SKYFARE=$work/bin/skyfare
data=$work/share/skyfare

replace_data() { rm -f "$data/$1" && ln -s "$2" "$data/$1"; }

store() {
  mkdir -p "$(dirname "$ini")"
  printf '[Startup]\nBackGround=3\nBMPFileName=%s\nLogoChecked=1\nLogoFileName=%s\nProp=1\n[System]\nSetReg=2\n' \
    "$1" "$2" >"$ini"
}

painted() { [[ $(pixel 512 600) != "0,0,0" ]]; }
# Without a background only the aircraft show.
painted_anything() {
  screenshot "$work/shot.png"
  [[ $(convert "$work/shot.png" -format '%[max]' info:) != 0 ]]
}
peak_rss_kib() { awk '/^VmHWM/ {print $2}' "/proc/$1/status"; }

# The saver shows its window, paints (unless told it has no background) and ends on a key.
shows_and_ends() {
  wait_for 10 has_window_of_size "$saver_pid" "1024x768+0+0" || fail "no window: $(windows_of "$saver_pid")"
  if [[ ${1:-} == no-background ]]; then
    wait_for 10 painted_anything || fail "the saver painted nothing"
  else
    wait_for 10 painted || fail "the saver painted nothing"
  fi
  press_key a
  # Two seconds leave room for a sanitizer build on a busy machine; the faults were far longer.
  wait_for 2 gone "$saver_pid" || fail "a key did not end the saver within two seconds"
  saver_exited_zero || fail "exit code $saver_status after a key"
}

echo "a FIFO as background, logo, aircraft picture and sound: refused at once, the rest runs"
mkfifo "$work/picture.fifo" "$work/sound.fifo"
store "$work/picture.fifo" "$work/picture.fifo"
mv "$data/FastJet.bmp" "$work/FastJet.bmp"
mkfifo "$data/FastJet.bmp"
replace_data takeoff.wav "$work/sound.fifo"
start_saver /s
shows_and_ends no-background
[[ $(grep -c "not a regular file" "$work/saver.err") == 4 ]] || fail "expected four refusals: $(cat "$work/saver.err")"
rm "$data/FastJet.bmp"
mv "$work/FastJet.bmp" "$data/FastJet.bmp"

echo "/dev/zero and a 600 MB wave as the take-off sound: refused, silent, no crash"
for sound in /dev/zero big; do
  if [[ $sound == big ]]; then
    sound=$work/big.wav
    # A valid header before 600 MB of silence, as a sparse file.
    printf 'RIFF\x24\x00\x80\x25WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00data\x00\x00\x80\x25' >"$sound"
    truncate -s 629145644 "$sound"
  fi
  replace_data takeoff.wav "$sound"
  store "$data/city lights.bmp" "$data/SF-Logo.bmp"
  start_saver /s
  shows_and_ends
  grep -q "cannot read sound file" "$work/saver.err" || fail "the sound was not refused: $(cat "$work/saver.err")"
done
rm -f "$work/big.wav"
replace_data takeoff.wav "$built_data/takeoff.wav"

echo "an empty lock left by a writer that died: the first-run defaults are written at once"
rm -f "$ini"
mkdir -p "$(dirname "$ini")"
: >"$ini.lock"
start_saver /s
wait_for 5 has_window_of_size "$saver_pid" "1024x768+0+0" || fail "no window within 5 s"
grep -qx 'SetReg=2' "$ini" || fail "first-run defaults not written"
[[ ! -e $ini.lock ]] || fail "the dead lock is still there"
kill -HUP "$saver_pid"
wait_for 2 gone "$saver_pid" || fail "SIGHUP did not end the saver"
saver_exited_zero || fail "SIGHUP did not end the saver as a close of the window does (exit code $saver_status)"

echo "an empty instance lock left by a saver that died: the next saver still runs"
: >"$XDG_RUNTIME_DIR/skyfare-saver.lock"
start_saver /s
wait_for 5 has_window_of_size "$saver_pid" "1024x768+0+0" || fail "the saver yielded to a dead one"
kill -TERM "$saver_pid"
wait_for 2 gone "$saver_pid" || fail "SIGTERM did not end the saver"
wait_saver

echo "a writer that holds the lock: SIGTERM still ends the waiting load step at once"
rm -f "$ini" "$ini.lock"
# One process that holds the lock, so ending it releases the lock at once.
python3 -c 'import fcntl, sys, time
lock = open(sys.argv[1], "w")
fcntl.flock(lock, fcntl.LOCK_EX)
time.sleep(30)' "$ini.lock" >/dev/null 2>&1 &
holder=$!
trap 'kill "$holder" 2>/dev/null || true; cleanup' EXIT
wait_for 5 test -e "$ini.lock" || fail "the lock holder did not start"
start_saver /s
# The lock is waited for in short sleeps, in the load step, whose watch on termination signals
# is a SIGALRM timer. A signal sent before the saver got that far would time its start-up
# instead, which may itself sleep: taking over the instance lock the last saver left.
waiting_for_lock() {
  [[ $(cut -d' ' -f1 "/proc/$saver_pid/syscall") == 230 ]] &&  # clock_nanosleep
    grep -q '^signal: 14/' "/proc/$saver_pid/timers"
}
wait_for 10 waiting_for_lock || fail "the saver did not wait for the lock"
end_by_signal TERM "$saver_pid" 1000 || fail "SIGTERM did not end the saver within a second"
wait_saver
kill "$holder"
wait "$holder" 2>/dev/null || true
rm -f "$ini.lock"

echo "a sound server that accepts and never answers: the window comes, SIGTERM ends it at once"
# It holds an opening for 30 s; each connection it takes adds a line to deaf.accepted.
python3 -c '
import socket, sys
server = socket.socket(socket.AF_UNIX)
server.bind(sys.argv[1])
server.listen(8)
clients = []
while True:
    clients.append(server.accept()[0])
    with open(sys.argv[2], "a") as accepted:
        accepted.write("accepted\n")
' "$work/deaf.socket" "$work/deaf.accepted" &
deaf=$!
trap 'kill "$deaf" 2>/dev/null || true; cleanup' EXIT
wait_for 5 test -S "$work/deaf.socket" || fail "the deaf server did not start"
deaf_connections() { [[ $(wc -l <"$work/deaf.accepted" 2>/dev/null) == "$1" ]]; }
store "$data/city lights.bmp" "$data/SF-Logo.bmp"
export PULSE_COOKIE=$work/pulse-cookie
SDL_AUDIODRIVER=pulseaudio PULSE_SERVER=unix:$work/deaf.socket start_saver /s
wait_for 10 has_window_of_size "$saver_pid" "1024x768+0+0" || fail "no window while the sound hangs"
wait_for 10 painted || fail "the saver painted nothing while the sound hangs"
wait_for 10 deaf_connections 1 || fail "the saver did not ask the deaf server"
# The way out waits for nothing of the hung opening.
end_by_signal TERM "$saver_pid" 300 || fail "SIGTERM did not end the saver within 300 ms"
echo "  gone $ended_ms ms after SIGTERM"
wait_saver
[[ $saver_status == 0 ]] || fail "SIGTERM did not end the saver as a close of the window does"

echo "the host entry point beside the same server: SIGTERM ends it at once, by that signal"
hack_painted() { [[ $(pixel 400 450) != "0,0,0" ]]; }
SDL_AUDIODRIVER=pulseaudio PULSE_SERVER=unix:$work/deaf.socket \
  "$SKYFARE_HACK" >"$work/saver.out" 2>"$work/saver.err" &
saver_pid=$!
wait_for 10 has_window_of_size "$saver_pid" "800x600+0+0" || fail "no window while the sound hangs"
wait_for 10 hack_painted || fail "the entry point painted nothing while the sound hangs"
wait_for 10 deaf_connections 2 || fail "the entry point did not ask the deaf server"
end_by_signal TERM "$saver_pid" 300 || fail "SIGTERM did not end the entry point within 300 ms"
echo "  gone $ended_ms ms after SIGTERM"
wait_saver
[[ $saver_status == 143 ]] || fail "the entry point ended with $saver_status, not by SIGTERM"
kill "$deaf"
unset PULSE_COOKIE

echo "a 1 KB picture that declares 5790 x 5790 pixels: memory stays near the normal scene's"
kill "$xvfb_pid"
start_xvfb 3840x2160
python3 -c '
import struct, sys
# One colour under every index: the pixels the file never sets are left as found.
palette = bytes([60, 120, 180, 0]) * 256
data = b"\x00\x01"  # the end of the picture at once
offset = 14 + 40 + len(palette)
header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
info = struct.pack("<IiiHHIIiiII", 40, 5790, 5790, 1, 8, 1, len(data), 2835, 2835, 256, 0)
open(sys.argv[1], "wb").write(header + info + palette + data)
' "$work/huge.bmp"
painted_4k() { [[ $(pixel 1920 1800) != "0,0,0" ]]; }
peak_of_run() {
  start_saver /s
  wait_for 20 painted_4k || fail "the saver painted nothing"
  local peak
  peak=$(peak_rss_kib "$saver_pid")
  kill -TERM "$saver_pid"
  wait_for 2 gone "$saver_pid" || fail "SIGTERM did not end the saver"
  wait_saver
  echo "$peak"
}
store "$data/city lights.bmp" "$data/SF-Logo.bmp"
normal=$(peak_of_run)
store "$work/huge.bmp" "$work/huge.bmp"
huge=$(peak_of_run)
echo "  peak memory: normal $((normal / 1024)) MiB, declared-huge pictures $((huge / 1024)) MiB"
((huge - normal < 50 * 1024)) || fail "the huge pictures cost $(((huge - normal) / 1024)) MiB more"
echo "passed"
