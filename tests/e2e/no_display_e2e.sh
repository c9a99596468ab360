#!/usr/bin/env bash
# Without any X server the saver says why, exits non-zero and leaves only the defaults behind.
source "$(dirname "$0")/lib.sh"
unset DISPLAY WAYLAND_DISPLAY
code=0
timeout 10 "$SKYFARE" /s >"$work/out" 2>"$work/err" || code=$?
[[ $code != 0 && $code != 124 ]] || fail "expected a non-zero exit, got $code"
grep -q "64K colors" "$work/err" || fail "no clear message: $(cat "$work/err")"
grep -qx 'skyfare: cannot open a display: DISPLAY is not set' "$work/err" ||
  fail "the cause is not told: $(cat "$work/err")"
grep -qx 'SetReg=2' "$ini" || fail "first-run defaults not written"

echo "a display that names no server is told as such"
# Far above the numbers the tests' own servers take.
code=0
DISPLAY=:4711 timeout 10 "$SKYFARE" /s >"$work/out" 2>"$work/err" || code=$?
[[ $code != 0 && $code != 124 ]] || fail "expected a non-zero exit, got $code"
grep -q "64K colors" "$work/err" || fail "no clear message: $(cat "$work/err")"
grep -qx 'skyfare: cannot open a display: the X server at :4711 cannot be reached or refused the connection' \
  "$work/err" || fail "the cause is not told: $(cat "$work/err")"

echo "a Wayland compositor that does not answer, and no X server, is told as such"
code=0
XDG_RUNTIME_DIR=$work WAYLAND_DISPLAY=no-compositor timeout 10 "$SKYFARE" /s >"$work/out" 2>"$work/err" || code=$?
[[ $code != 0 && $code != 124 ]] || fail "expected a non-zero exit, got $code"
grep -q "64K colors" "$work/err" || fail "no clear message: $(cat "$work/err")"
grep -qx 'skyfare: cannot open a display: the Wayland compositor no-compositor cannot be reached, and DISPLAY is not set' \
  "$work/err" || fail "the cause is not told: $(cat "$work/err")"

echo "the other modes do not hang either"
timeout 10 "$SKYFARE" /c >/dev/null 2>&1 && fail "/c without a display reported success"
timeout 10 "$SKYFARE" -s || fail "an unknown switch must end quietly with 0"
echo "passed"
