#!/usr/bin/env bash
# The settings dialog on a real X server, beside a running saver: what is typed into the dialog
# shows in the saver's next frames, and OK ends the dialog with exit 0.
source "$(dirname "$0")/lib.sh"
start_xvfb 1024x768
mkdir -p "$(dirname "$ini")"
cat >"$ini" <<INI
[Startup]
BackGround=1
Clock=0
FontName=DejaVu Sans
FontSize=20
LogoChecked=0
Message=
MessageChecked=0
Prop=0
[System]
MouseSens=20
SetReg=2
INI

start_saver /s
saver=$saver_pid
wait_for 10 has_window_of_size "$saver" "1024x768+0+0" || fail "no saver window"

# With no search path the dialog finds no browser, whatever this machine has installed.
PATH=/nonexistent "$SKYFARE" /c >"$work/dialog.out" 2>"$work/dialog.err" &
dialog=$!
dialog_window() { xdotool search --onlyvisible --name "Skyfare Control Box"; }
wait_for 10 dialog_window || fail "no dialog window"
window=$(dialog_window)
eval "$(xdotool getwindowgeometry --shell "$window")"
dialog_shown() { [[ $(pixel $((X + 4)) $((Y + 4))) != "0,0,0" ]]; }
wait_for 10 dialog_shown || fail "the dialog painted nothing"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/dialog-settings.png"

# Qt's controls are not X windows of their own: they are reached as a keyboard user reaches
# them, with the keys going to the dialog's window rather than to the saver beneath it.
xdotool windowfocus --sync "$window"
press_key ctrl+Tab # BackGround
press_key ctrl+Tab # Logo/Message
# Select Logo, the logo's file name, Display Logo, then Display Message.
for _ in 1 2 3 4; do press_key Tab; done
press_key space
wait_for 3 grep -qx 'MessageChecked=1' "$ini" || fail "Display Message was not ticked"
grep -qx 'LogoChecked=0' "$ini" || fail "Display Logo was ticked instead of Display Message"
press_key Tab
press_key ctrl+a
xdotool type --delay 20 "Hello from the dialog"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/dialog-logo-message.png"
# The last keystrokes reach the store a moment after xdotool has sent them.
wait_for 3 grep -qx 'Message=Hello from the dialog' "$ini" ||
  fail "the dialog did not store the message: $(grep Message "$ini")"

cyan_pixels() {
  # The scene is scaled by 1.28 on this screen: its bottom 40 rows are the screen's bottom 51.
  import -window root -crop 250x51+0+717 "$work/message.png"
  convert "$work/message.png" -fill black +opaque "rgb(0,255,255)" -fill white -opaque "rgb(0,255,255)" \
    -format '%[fx:int(mean*w*h)]' info:
}
message_shown() { [[ $(cyan_pixels) -gt 100 ]]; }
wait_for 3 message_shown || fail "the saver does not show the typed message"
alive "$saver" || fail "the saver ended while the dialog was used"

# "&Online HELP" and "&OK" share Alt+O: the first press moves to Online HELP, the second to OK.
# Without a browser, Online HELP says in a box of the program's where the support page is.
press_key alt+o
press_key space
help_box() { xdotool search --onlyvisible --name '^Skyfare 1$'; }
wait_for 3 help_box || fail "Online HELP without a browser showed no message"
grep -qx "skyfare: no browser could be opened for the support page $SKYFARE_BUILD/share/skyfare/support.htm" \
  "$work/dialog.err" || fail "Online HELP without a browser said: $(cat "$work/dialog.err")"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/dialog-no-browser.png"
press_key Return
no_help_box() { ! help_box; }
wait_for 3 no_help_box || fail "the message did not close"
alive "$saver" || fail "the saver ended while the dialog was used"
# Without a window manager nobody gives the focus back to the dialog when the box goes. The
# box hands it back to Online HELP, and OK is next.
xdotool windowfocus --sync "$window"
press_key Tab
press_key space
wait_for 3 gone "$dialog" || fail "OK did not end the dialog"
code=0
wait "$dialog" || code=$?
[[ $code == 0 ]] || fail "the dialog ended with $code"

xdotool mousemove 100 100 click 1
wait_for 3 gone "$saver" || fail "the saver did not end on a click"
echo "passed"
