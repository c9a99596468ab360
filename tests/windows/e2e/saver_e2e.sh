#!/usr/bin/env bash
# Skyfare.scr under Wine on a real X server: the scene letterboxed on the screen and moving, the
# twenty first-run values in the registry, and the ways the saver ends.
source "$(dirname "$0")/wine_lib.sh"
start_desktop 1920x1080
install_data
clear_settings

full_screen() { scr_has_window 1920x1080+0+0; }
# 1920 × 1080 holds the scene at 1.8 times: 1440 × 1080 from x 240, black bars beside it.
painted() { [[ $(pixel 960 900) != "0,0,0" ]]; }

echo "a fresh registry: a full-screen window, the moving scene and the twenty defaults"
started_ms=$(now_ms)
start_scr /s
wait_for 30 full_screen || fail "no full-screen window: $(scr_windows)"
wait_for 20 painted || fail "the saver painted nothing"
echo "first frame on the screen $(($(now_ms) - started_ms)) ms after the start"
screenshot "$work/first.png"
[[ $(pixel 100 540 "$work/first.png") == "0,0,0" ]] || fail "no black bar on the left"
[[ $(pixel 1819 540 "$work/first.png") == "0,0,0" ]] || fail "no black bar on the right"
[[ -n ${SCREENSHOT_DIR:-} ]] && cp "$work/first.png" "$SCREENSHOT_DIR/windows-saver-1920x1080.png"
nap 1
screenshot "$work/later.png"
changed=$(compare -metric AE "$work/first.png" "$work/later.png" null: 2>&1 || true)
((${changed%% *} > 100)) || fail "the scene did not move in a second ($changed pixels changed)"
compare -metric AE -crop 240x1080+0+0 "$work/first.png" "$work/later.png" null: 2>/dev/null ||
  fail "something was drawn on the left bar"

stored=0
for key in BackGround BMPFileName Clock FontClock FontName FontSize LogoChecked LogoFileName \
  Message MessageChecked Prop SecDelay SelectedFont SelectedFontSize Speed Volume; do
  setting Startup "$key" >/dev/null && stored=$((stored + 1))
done
for key in MouseSens PwrSave SoundOff SetReg; do
  setting System "$key" >/dev/null && stored=$((stored + 1))
done
((stored == 20)) || fail "expected twenty stored values, found $stored"
[[ $(setting System SetReg) == 2 ]] || fail "first-run marker missing"
[[ $(setting Startup BMPFileName) == 'C:\Corvinel\Skyfare\city lights.bmp' ]] ||
  fail "background picture path: $(setting Startup BMPFileName)"

echo "a second saver ends at once and leaves the first running"
second_started=$(now_ms)
wine "$SKYFARE" /s || fail "the second saver failed"
echo "the second saver ended $(($(now_ms) - second_started)) ms after its start"
alive "$saver_pid" || fail "the first saver ended"

echo "a key ends it at once with exit 0"
press_key a
wait_for 2 gone "$saver_pid" || fail "a key did not end the saver within two seconds"
saver_exited_zero || fail "exit code $saver_status after a key"

echo "a click ends it"
start_scr /s
wait_for 30 full_screen || fail "no window"
wait_for 20 painted || fail "the saver painted nothing"
xdotool click 1
wait_for 2 gone "$saver_pid" || fail "a click did not end the saver"
saver_exited_zero || fail "exit code $saver_status after a click"

echo "with MouseSens 4, the window's first motion and three movements do not end it; the fourth does"
xdotool mousemove 10 10
start_scr /s
wait_for 30 full_screen || fail "no window"
wait_for 20 painted || fail "the saver painted nothing"
for position in "100 100" "200 150" "300 200"; do
  xdotool mousemove $position
  nap 0.4
done
! wait_for 1 gone "$saver_pid" || fail "three movements ended the saver"
xdotool mousemove 400 250
wait_for 2 gone "$saver_pid" || fail "the fourth movement did not end the saver"
saver_exited_zero || fail "exit code $saver_status after movements"
echo "passed"
