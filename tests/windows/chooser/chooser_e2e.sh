#!/usr/bin/env bash
# The picture choosers under Wine on an X server of their own: the driver's cases against
# choosers in processes of their own, then a look at one chooser on the screen.
source "$(dirname "$0")/../e2e/wine_lib.sh"
driver=${CHOOSER_DRIVER:?the path of chooser_driver.exe}

# Two drives for the driver, made before the server starts: Q: names a folder that is gone, R: a
# root that holds one picture.
dosdevices=$WINEPREFIX/dosdevices
mkdir -p "$work/gone" "$work/root"
: >"$work/root/sky.bmp"
ln -sfn "$work/gone" "$dosdevices/q:"
ln -sfn "$work/root" "$dosdevices/r:"
rmdir "$work/gone"
trap 'rm -f "$dosdevices/q:" "$dosdevices/r:"; scr_cleanup' EXIT

start_desktop 1024x768
clear_settings

echo "the driver's cases"
wine "$driver" </dev/null || fail "the driver's cases failed"

echo "a logo chooser on the screen"
pictures=$WINEPREFIX/drive_c/Pictures
rm -rf "$pictures"
mkdir -p "$pictures/Airports" "$pictures/Clouds"
for name in "city lights.bmp" harbour.bmp SF-Logo.bmp sunset.BMP notes.txt; do : >"$pictures/$name"; done
cd "$pictures"
start_scr logo
wait_for 30 xdotool search --onlyvisible --name '^Select Your Logo$' || fail "no logo chooser"
window=$(xdotool search --onlyvisible --name '^Select Your Logo$' | head -1)
nap 1
eval "$(xdotool getwindowgeometry --shell "$window")"
screenshot "$work/screen.png"
convert "$work/screen.png" -crop "$((WIDTH + 8))x$((HEIGHT + 40))+$((X - 4))+$((Y - 32))" +repage \
  "$work/chooser.png"
colours=$(convert "$work/chooser.png" -format '%k' info:)
((colours > 8)) || fail "the chooser shows only $colours colours"
[[ -n ${SCREENSHOT_DIR:-} ]] && cp "$work/chooser.png" "$SCREENSHOT_DIR/windows-chooser.png"
xdotool key --window "$window" Escape
wait_for 10 gone "$saver_pid" || fail "Escape did not close the chooser"
[[ $(saver_exit) == 0 ]] || fail "Escape wrote a path or moved the current folder"
echo "passed"
