#!/usr/bin/env bash
# xscreensaver-settings previews the entry point in its preview pane: the scene runs inside the
# pane only, follows the pane's size, is never heard, and ends with the settings program.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/hosts_lib.sh"
install_prefix
make_sound_wrapper
start_xvfb 1280x900
SDL_AUDIODRIVER=disk start_daemon "$heard $prefix/libexec/xscreensaver/skyfare --root"

started=$(now_ms)
SDL_AUDIODRIVER=disk as_nobody xscreensaver-settings >"$work/settings.out" 2>&1 &
settings_pid=$!
preview_pid() { pgrep -u 65534 -f "skyfare --root --window-id" || true; }
wait_for 15 eval '[[ -n $(preview_pid) ]]' || fail "no preview started: $(cat "$work/settings.out")"
pid=$(preview_pid)
pane=$(tr '\0' ' ' <"/proc/$pid/cmdline" | sed 's/.*--window-id \(0x[0-9a-fA-F]*\).*/\1/')
geometry=$(geometry_of "$pane")
wait_for 10 has_child_of_size "$pane" "${geometry%%+*}+0+0" || fail "not in the pane: $(children_of "$pane")"
[[ -z $(top_level_windows_of "$pid") ]] || fail "the preview shows a window of its own"
read -r x y <<<"$(sed 's/.*+\([0-9]*\)+\([0-9]*\)/\1 \2/' <<<"$geometry")"
size=${geometry%%+*}
wait_for 10 moving "$x" "$y" "${size%x*}" "${size#*x}" || fail "the preview is blank or still"
echo "  first moving frame in the pane after $(($(now_ms) - started)) ms"
# Nothing of the scene outside the pane: the settings program's own face stays as it was.
[[ $(pixel 5 5) != "0,0,0" ]] || fail "the preview covers the settings window"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/host-xscreensaver-settings.png"

settings_window=$(xdotool search --onlyvisible --pid "$settings_pid" --name "Settings" | head -1)
xdotool windowsize "$settings_window" 1260 880
wait_for 5 eval '[[ $(geometry_of "$pane") != "$geometry" ]]' || fail "the pane did not grow"
grown=$(geometry_of "$pane")
wait_for 3 has_child_of_size "$pane" "${grown%%+*}+0+0" || fail "did not follow the pane: $(children_of "$pane")"
[[ -z $(find "$work/sound" -type f) ]] || fail "the preview opened the sound"

"$CLOSE_REQUEST" "$settings_window"
wait_gone_ms "$pid" 2000 || fail "the preview outlived the settings program"
stop_daemon
echo "passed"
