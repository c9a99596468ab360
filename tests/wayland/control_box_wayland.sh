#!/usr/bin/env bash
# The Control Box and a picture chooser through Qt's Wayland platform: they open, show, take the
# keyboard, store what is typed, and OK ends the Control Box with exit 0.
source "$(dirname "$0")/lib.sh"
start_sway 1
mkdir -p "$(dirname "$ini")"
cat >"$ini" <<INI
[Startup]
Clock=0
LogoChecked=0
Message=
MessageChecked=0
[System]
SetReg=2
INI
give_to_user "$XDG_CONFIG_HOME"

# With no search path the dialog finds no browser, whatever this machine has installed.
start_user_process dialog env QT_QPA_PLATFORM=wayland PATH=/nonexistent "$SKYFARE" /c
dialog=$last_pid
wait_for 10 has_windows 1 || wl_fail "no Control Box window"
box=$(windows)
[[ $box =~ \ ([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || wl_fail "no Control Box window: $box"
read -r width height x y <<<"${BASH_REMATCH[*]:1}"
((width >= 580 && width <= 640 && height >= 370 && height <= 420)) || wl_fail "the Control Box is $box"
# The dialog's face is light grey: the middle of its body is painted.
box_painted() {
  screenshot "$work/box.png" HEADLESS-1
  local r
  r=$(pixel $((x + width / 2)) $((y + height - 60)) "$work/box.png")
  ((${r%%,*} > 200))
}
wait_for 10 box_painted || wl_fail "the Control Box painted nothing: $(pixel $((x + width / 2)) $((y + height - 60)) "$work/box.png")"
[[ -n ${SCREENSHOT_DIR:-} ]] && cp "$work/box.png" "$SCREENSHOT_DIR/control-box-wayland.png"

echo "the keyboard reaches it: a box ticked and a message typed are stored"
key Tab ctrl # BackGround
key Tab ctrl # Logo/Message
# Select Logo, the logo's file name, Display Logo, then Display Message.
for _ in 1 2 3 4; do key Tab; done
key space
wait_for 3 grep -qx 'MessageChecked=1' "$ini" || wl_fail "Display Message was not ticked: $(cat "$ini")"
grep -qx 'LogoChecked=0' "$ini" || wl_fail "Display Logo was ticked instead of Display Message"
key Tab
key a ctrl
type_text "Hello from Wayland"
wait_for 3 grep -qx 'Message=Hello from Wayland' "$ini" ||
  wl_fail "the dialog did not store the message: $(grep Message "$ini")"

echo "the logo chooser opens over it and Escape closes it, writing nothing"
before=$(cat "$ini")
key l alt
wait_for 10 has_windows 2 || wl_fail "no chooser window: $(windows)"
chooser=$(windows | grep -vxF "$box" | head -n 1)
[[ -n $chooser ]] || wl_fail "no chooser window beside the Control Box: $(windows)"
screenshot "$work/chooser.png" HEADLESS-1
[[ -n ${SCREENSHOT_DIR:-} ]] && cp "$work/chooser.png" "$SCREENSHOT_DIR/chooser-wayland.png"
(($(distinct_colours "$work/chooser.png" "${chooser##* }") > 8)) || wl_fail "the chooser painted nothing"
key Escape
one_window() { (($(window_count) == 1)); }
wait_for 5 one_window || wl_fail "Escape did not close the chooser: $(windows)"
[[ $(cat "$ini") == "$before" ]] || wl_fail "closing the chooser wrote: $(diff <(echo "$before") "$ini")"

echo "OK ends it with exit 0"
# "&Online HELP" and "&OK" share Alt+O: the first press moves to Online HELP; OK is next.
key o alt
key Tab
key space
wait_for 5 gone "$dialog" || wl_fail "OK did not end the Control Box"
code=0
wait "$dialog" || code=$?
[[ $code == 0 ]] || wl_fail "the Control Box ended with $code: $(cat "$work/dialog.log")"
echo "passed"
