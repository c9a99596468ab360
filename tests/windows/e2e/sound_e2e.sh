#!/usr/bin/env bash
# The saver's jet heard through Wine's audio engine at the stored volume: ALSA's file plugin, named
# for the Wine processes only, keeps what was played.
source "$(dirname "$0")/wine_lib.sh"
start_desktop 1024x768
install_data
clear_settings
capture=$work/capture.raw
export ALSA_CONFIG_PATH=$work/capture.conf
sed "s|@capture_file@|$capture|" "$(dirname "$0")/../sound/asoundrc.in" >"$ALSA_CONFIG_PATH"
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1 </dev/null

full_screen() { scr_has_window 1024x768+0+0; }
painted() { [[ $(pixel 512 600) != "0,0,0" ]]; }
echo "a first run writes the defaults; the volume is then set to -10 dB"
start_scr /s
wait_for 30 full_screen || fail "no full-screen window"
wait_for 20 painted || fail "the saver painted nothing"
press_key a
wait_for 5 gone "$saver_pid" || fail "a key did not end the saver"
wait_saver
wine reg add "$settings_key\\Startup" /v Volume /d -1000 /f >/dev/null 2>&1 </dev/null
rm -f "$capture"

echo "the jet is heard at the stored volume"
start_scr /s
wait_for 30 full_screen || fail "no full-screen window"
# The captured level of the take-off sound against the file's own, in decibels.
level_db() {
  python3 - "$capture" "$installation/takeoff.wav" <<'PY'
import array, math, sys, wave
captured = array.array('h', open(sys.argv[1], 'rb').read())
with wave.open(sys.argv[2]) as w:
    assert w.getsampwidth() == 2
    source = array.array('h', w.readframes(w.getnframes()))
peak = max((abs(s) for s in captured), default=0)
if peak == 0:
    sys.exit(1)
print(f"{20 * math.log10(peak / max(abs(s) for s in source)):.2f}")
PY
}
heard() { level_db >/dev/null; }
wait_for 40 heard || fail "no jet sound was played"
nap 3
press_key a
wait_for 5 gone "$saver_pid" || fail "a key did not end the saver"
level=$(level_db) || fail "nothing captured"
echo "heard at $level dB for a stored -10.00 dB"
python3 -c "import sys; sys.exit(abs($level + 10) > 0.5)" || fail "the jet was heard at $level dB"
echo "passed"
