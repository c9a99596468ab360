# Helpers for the Windows end-to-end tests: the saver runs through Wine in the prefix that
# scripts/wine-prefix made, each test on an Xvfb server of its own. The shared helpers of the
# Linux end-to-end tests (Xvfb, deadlines, screenshots) come from tests/e2e/lib.sh.
SKYFARE=${SKYFARE_SCR:?the path of Skyfare.scr}
export SKYFARE
# shellcheck source=../../e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../e2e/lib.sh"
export WINEPREFIX=${WINE_DESKTOP_PREFIX:?the Wine prefix of the desktop tests (scripts/wine-prefix)}
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=${WINEDEBUG:--all}
# A Wine server keeps the X display its first client named for every later one, so each test
# starts the prefix's server afresh on its own display, and stops it at the end. The first client
# leaves helper processes behind: their output goes nowhere, or ctest would wait for them.
start_wine() {
  wineserver -k 2>/dev/null || true
  wineserver -w
  wineserver -p </dev/null >/dev/null 2>&1
  wine cmd /c exit </dev/null >/dev/null 2>&1
}
# No sound device: the sound tests name their own through ALSA_CONFIG_PATH.
export ALSA_CONFIG_PATH=${ALSA_CONFIG_PATH:-$work/no-sound.conf}
[[ -e $ALSA_CONFIG_PATH ]] || echo 'pcm.!default { type null }' >"$ALSA_CONFIG_PATH"

# start_desktop WIDTHxHEIGHT: an X server of the test's own, and Wine's server on it.
start_desktop() {
  start_xvfb "$1"
  start_wine
}

settings_key='HKCU\Software\VB and VBA Program Settings\Airlume'
installation=$WINEPREFIX/drive_c/Corvinel/Skyfare

# The data folder where the installer puts it, fresh for each test.
install_data() {
  rm -rf "$installation"
  mkdir -p "$installation"
  cp -r "${SKYFARE_WINDOWS_DATA:?the Windows data folder}/." "$installation/"
}

clear_settings() { wine reg delete "$settings_key" /f >/dev/null 2>&1 || true; }

# The launcher that wine starts becomes the Windows process, or waits for it as its child and
# exits with its code; either way the usual saver helpers (wait_saver, wait_gone_ms) watch it.
start_scr() {
  wine "$SKYFARE" "$@" >"$work/saver.out" 2>"$work/saver.err" &
  saver_pid=$!
}
scr_cleanup() {
  if [[ -n $saver_pid ]]; then
    pkill -KILL -P "$saver_pid" 2>/dev/null || true
  fi
  wineserver -k 2>/dev/null || true
  cleanup
}
trap scr_cleanup EXIT

# setting SECTION KEY: the stored value as UTF-8, or nothing and false when it is missing.
# `wine reg export` keeps the text in UTF-16 (the console's code page would not).
setting() {
  local file=$work/settings.reg
  rm -f "$file"
  wine reg export "$settings_key\\$1" "$file" /y >/dev/null 2>&1 || return 1
  iconv -f UTF-16LE -t UTF-8 "$file" | tr -d '\r' | awk -v key="\"$2\"" '
    index($0, key "=\"") == 1 {
      value = substr($0, length(key) + 3); sub(/"$/, "", value)
      gsub(/\\\\/, "\\", value); print value; found = 1 }
    END { exit !found }'
}

# The visible top-level windows of the Windows saver, one "WIDTHxHEIGHT+X+Y" line each.
scr_windows() {
  local id
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    xdotool getwindowgeometry --shell "$id" 2>/dev/null | awk -F= '
      /^X=/ {x=$2} /^Y=/ {y=$2} /^WIDTH=/ {w=$2} /^HEIGHT=/ {h=$2}
      END {print w "x" h "+" x "+" y}'
  done
}
scr_has_window() { scr_windows | grep -qx "$1"; }
