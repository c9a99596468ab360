#!/usr/bin/env bash
# The picture choosers under Wine on an X server of their own: the driver's cases against
# choosers in processes of their own, then a look at one chooser on the screen.
# shellcheck source=../e2e/wine_lib.sh
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

echo "a logo chooser on the screen, in a Wine desktop that draws its frame and title"
pictures=$WINEPREFIX/drive_c/Pictures
rm -rf "$pictures"
mkdir -p "$pictures/Airports" "$pictures/Clouds"
for name in "city lights.bmp" harbour.bmp SF-Logo.bmp sunset.BMP notes.txt; do : >"$pictures/$name"; done
cd "$pictures" || fail "no folder $pictures"
wine explorer /desktop=chooser,520x400 "$(winepath -w "$CHOOSER_HOST")" logo \
  >"$work/saver.out" 2>"$work/saver.err" &
saver_pid=$!
wait_for 30 xdotool search --onlyvisible --name '^chooser - Wine desktop$' || fail "no desktop"
desktop=$(xdotool search --onlyvisible --name '^chooser - Wine desktop$' | head -1)
# The chooser is drawn once its list shows the files.
eval "$(xdotool getwindowgeometry --shell "$desktop")"
drawn() {
  screenshot "$work/screen.png"
  convert "$work/screen.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$work/chooser.png"
  (($(convert "$work/chooser.png" -format '%k' info:) > 8))
}
wait_for 20 drawn || fail "the chooser drew nothing"
nap 1
drawn
[[ -n ${SCREENSHOT_DIR:-} ]] && cp "$work/chooser.png" "$SCREENSHOT_DIR/windows-chooser.png"
# A real click on Cancel: the chooser opens at the desktop's top left, and Cancel lies left of OK
# at the bottom right of its 389 × 286 client area, under Wine's frame.
xdotool mousemove $((X + 242)) $((Y + 288)) click 1
wait_for 10 gone "$saver_pid" || fail "a click on Cancel did not close the chooser"
echo "passed"
