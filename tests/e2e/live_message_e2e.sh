#!/usr/bin/env bash
# A running saver shows a new message within a few frames of another process storing it.
source "$(dirname "$0")/lib.sh"
start_xvfb 800x600
mkdir -p "$(dirname "$ini")"
cat >"$ini" <<INI
[Startup]
BackGround=1
Clock=0
FontSize=20
LogoChecked=0
MessageChecked=1
Message=
FontName=DejaVu Sans
Prop=0
[System]
SetReg=2
INI
start_saver /s
wait_for 10 has_window_of_size "$saver_pid" "800x600+0+0" || fail "no window"

# The message sits at the bottom left; airliner 1 flies far above it.
cyan_pixels() {
  import -window root -crop 400x40+0+560 "$work/message.png"
  convert "$work/message.png" -fill black +opaque "rgb(0,255,255)" -fill white -opaque "rgb(0,255,255)" \
    -format '%[fx:int(mean*w*h)]' info:
}
message_hidden() { [[ $(cyan_pixels) -eq 0 ]]; }
message_shown() { [[ $(cyan_pixels) -gt 100 ]]; }
wait_for 5 message_hidden || fail "an empty message drew something"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/message-before.png"

# Another writer stores a new message; the saver reads it in its next frames.
sed -i 's/^Message=$/Message=Back at three/' "$ini"
wait_for 2 message_shown || fail "the new message did not appear"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/message-after.png"

sed -i 's/^MessageChecked=1$/MessageChecked=0/' "$ini"
wait_for 2 message_hidden || fail "switching the message off did not hide it"
press_key Escape
wait_for 2 gone "$saver_pid" || fail "the saver did not end"
echo "passed"
