#!/usr/bin/env bash
# xsecurelock runs the installed entry point as its saver: one process that stays, drawing
# inside the locker's saver window; a key unlocks, and the saver is gone within a second.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/hosts_lib.sh"
install_prefix
start_xvfb 1280x800

printf '#!/bin/sh\nexit 0\n' >"$work/auth_accept"
chmod 755 "$work/auth_accept"
started=$(now_ms)
XSECURELOCK_SAVER=$prefix/libexec/xsecurelock/saver_skyfare XSECURELOCK_AUTH=$work/auth_accept \
  xsecurelock >"$work/locker.out" 2>&1 &
locker_pid=$!

saver_pids() { pgrep -f "^$prefix/libexec/xsecurelock/saver_skyfare" || true; }
one_saver() { [[ $(saver_pids | wc -l) == 1 ]]; }
wait_for 10 one_saver || fail "no saver started: $(cat "$work/locker.out")"
pid=$(saver_pids)
# The window it was given, in decimal, as xsecurelock passes it.
host=$(tr '\0' '\n' <"/proc/$pid/environ" | sed -n 's/^XSCREENSAVER_WINDOW=//p')
[[ $host =~ ^[0-9]+$ ]] || fail "unexpected XSCREENSAVER_WINDOW: $host"
wait_for 10 has_child_of_size "$host" "1280x800+0+0" || fail "no scene in $host: $(children_of "$host")"
wait_for 10 moving 0 0 1280 800 || fail "the screen is blank or still under the locker"
echo "  first moving frame under the locker after $(($(now_ms) - started)) ms"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/host-xsecurelock.png"
sleep 2
[[ $(saver_pids) == "$pid" ]] || fail "the saver was restarted: $(saver_pids)"

pressed=$(now_ms)
press_key space
wait_for 5 gone "$locker_pid" || fail "a key did not unlock"
unlocked=$(now_ms)
wait_gone_ms "$pid" "${END_LIMIT_MS:-1000}" || fail "the saver outlived the unlock by ${END_LIMIT_MS:-1000} ms"
echo "  unlocked $((unlocked - pressed)) ms after the key, saver gone $(($(now_ms) - unlocked)) ms later"
echo "passed"
