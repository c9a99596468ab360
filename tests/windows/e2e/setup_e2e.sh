#!/usr/bin/env bash
# The Control Box under Wine, driven from another process by its controls' IDs: a first opening
# on an empty registry, every control's change, the choosers, About, the support page, OK, and a
# second opening over stored values that need normalising or clamping.
source "$(dirname "$0")/wine_lib.sh"
start_desktop 1280x1024
install_data
clear_settings

shots=${SCREENSHOT_DIR:-$work}
start_setup() {
  wine "$SETUP_HOST" >"$work/saver.out" 2>"$work/saver.err" &
  saver_pid=$!
}
drive() { wine "$SETUP_DRIVER" "$@" </dev/null; }
end_setup() {
  drive ok || fail "OK could not be pressed"
  wait_gone_ms "$saver_pid" 10000 || fail "OK did not end the program"
  saver_pid=
}

echo "a first opening on an empty registry, each tab on the screen"
start_setup
for tab in 0 1 2 3; do
  drive tab "$tab" || fail "tab $tab"
  nap 0.5
  screenshot "$shots/windows-control-box-$tab.png"
done
drive tab 0
echo "every control's change, the choosers and About"
drive fresh || fail "the first opening and the changes"

echo "the support page through its association, and without one that works"
classes='HKLM\Software\Classes'
opened=$WINEPREFIX/drive_c/opened.txt
rm -f "$opened"
wine reg add "$classes\\.htm" /ve /d SkyfareTestPage /f >/dev/null 2>&1
wine reg add "$classes\\SkyfareTestPage\\shell\\open\\command" /ve \
  /d 'C:\windows\system32\cmd.exe /c echo %1> C:\opened.txt' /f >/dev/null 2>&1
drive help || fail "Online HELP"
wait_for 20 test -s "$opened" || fail "the support page was not opened"
grep -qi 'C:\\Corvinel\\Skyfare\\support.htm' "$opened" || fail "opened: $(cat "$opened")"
wine reg add "$classes\\SkyfareTestPage\\shell\\open\\command" /ve \
  /d 'C:\nowhere\no-browser.exe %1' /f >/dev/null 2>&1
drive help-fails || fail "Online HELP with nothing to open the page"
wine reg add "$classes\\.htm" /ve /d htmlfile /f >/dev/null 2>&1
wine reg delete "$classes\\SkyfareTestPage" /f >/dev/null 2>&1
end_setup

echo "a second opening over stored values to normalise or clamp"
for value in Speed=05 Volume=-3000 SecDelay=0300 BackGround=2 FontSize=25 SelectedFontSize=4 \
  Clock=01 "Message=Gate 4"; do
  wine reg add "$settings_key\\Startup" /v "${value%%=*}" /d "${value#*=}" /f >/dev/null 2>&1
done
for value in MouseSens=21 SoundOff=7; do
  wine reg add "$settings_key\\System" /v "${value%%=*}" /d "${value#*=}" /f >/dev/null 2>&1
done
start_setup
drive reopened || fail "the second opening"
end_setup
echo "passed"
