#!/usr/bin/env bash
# The setup program in a Wine prefix of its own: a silent installation puts every file in place
# and registers the uninstaller in the 64-bit registry, the installed saver runs, and the silent
# uninstaller takes away what was installed while the user's settings and pictures stay. A
# setup that cannot write a file says so in its exit code. The hand-installation zip holds the
# same files.
set -euo pipefail
SETUP=${SETUP:?the path of Skyfare-Setup.exe}
ZIP=${ZIP:?the path of Skyfare-windows.zip}
SCREEN_SAVER=${SCREEN_SAVER:?the path of the built Skyfare.scr}
DATA_DIR=${DATA_DIR:?the data folder the setup was made from}
VERSION=${VERSION:?the project version}

work=$(mktemp -d)
xvfb_pid=
saver_pid=
cleanup() {
  [[ -n $saver_pid ]] && kill "$saver_pid" 2>/dev/null || true
  [[ -d $work/prefix ]] && WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  [[ -n ${KEEP_WORK:-} ]] || rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}
now_ms() { echo $((${EPOCHREALTIME/[.,]/} / 1000)); }
exec {nap_fd}<> <(:)
nap() { read -r -t "$1" -u "$nap_fd" || true; }
# wait_for SECONDS COMMAND...: runs the command every 100 ms until it succeeds.
wait_for() {
  local deadline=$(($(now_ms) + $1 * 1000))
  shift
  until "$@" >/dev/null 2>&1; do
    (($(now_ms) < deadline)) || return 1
    nap 0.1
  done
}

# A prefix of our own, copied from the shared one when there is one (3 s instead of 12 s), so
# that installing and uninstalling touch no other test's Windows.
source_prefix=${WINEPREFIX:-${BUILD_DIR:-}/wine}
export WINEPREFIX=$work/prefix WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
if [[ -f $source_prefix/system.reg ]]; then
  cp -a "$source_prefix" "$WINEPREFIX"
  rm -f "$WINEPREFIX/wineserver"
else
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
fi
grep -q '^#arch=win64' "$WINEPREFIX/system.reg" || fail "the prefix is not a 64-bit one"
drive_c=$WINEPREFIX/drive_c
# In a 64-bit prefix, System32 is the 64-bit folder and SysWOW64 the 32-bit one.
system32=$drive_c/windows/system32
installed=$drive_c/Corvinel/Skyfare

exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 10 number <&"$fd" || fail "Xvfb did not start"
export DISPLAY=:$number
wineserver -p
wine cmd /c exit >/dev/null 2>&1 </dev/null

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Skyfare'
settings_key='HKCU\Software\VB and VBA Program Settings\Airlume\Startup'
kept_message="Kept through uninstall"
data_files=()
while IFS= read -r -d '' path; do data_files+=("${path##*/}"); done \
  < <(find "$DATA_DIR" -maxdepth 1 -type f -print0 | sort -z)
((${#data_files[@]} > 0)) || fail "the data folder $DATA_DIR is empty"

# reg_export KEY FILE: the key as UTF-8 text with Unix line ends; false when it is missing.
reg_export() {
  wine reg export "$1" "$work/export.reg" /y >/dev/null 2>&1 </dev/null || return 1
  iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r' >"$2"
}
key_exists() { wine reg query "$1" >/dev/null 2>&1 </dev/null; }
key_gone() { ! key_exists "$uninstall_key"; }
install_silently() { wine "$SETUP" /S >"$work/setup.out" 2>&1 </dev/null; }
# The uninstaller hands over to a copy of itself in the temporary folder and returns at once;
# its key goes last, so the key's going marks the end.
uninstall_silently() {
  wine 'C:\Corvinel\Skyfare\Uninstall.exe' /S >"$work/uninstall.out" 2>&1 </dev/null ||
    fail "Uninstall.exe /S exited with $?"
  wait_for 30 key_gone ||
    fail "the uninstaller did not remove its key within 30 s"
}
check_installed() {
  local name
  for name in "${data_files[@]}"; do
    cmp -s "$DATA_DIR/$name" "$installed/$name" || fail "C:\\Corvinel\\Skyfare\\$name is missing or differs"
  done
  [[ -f $installed/Uninstall.exe ]] || fail "no Uninstall.exe in C:\\Corvinel\\Skyfare"
  cmp -s "$SCREEN_SAVER" "$system32/Skyfare.scr" || fail "System32\\Skyfare.scr is missing or differs"
  [[ ! -e $drive_c/windows/syswow64/Skyfare.scr ]] || fail "Skyfare.scr went into SysWOW64"
}
check_removed() {
  local name
  for name in "${data_files[@]}" Uninstall.exe; do
    [[ ! -e $installed/$name ]] || fail "the uninstaller left C:\\Corvinel\\Skyfare\\$name"
  done
  [[ ! -e $system32/Skyfare.scr ]] || fail "the uninstaller left System32\\Skyfare.scr"
  ! key_exists "$uninstall_key" || fail "the uninstaller left its Programs and Features key"
  wine reg query "$settings_key" /v Message </dev/null 2>/dev/null | grep -qF "$kept_message" ||
    fail "the uninstaller took the user's settings"
}

echo "the setup: $(($(stat -c %s "$SETUP") / 1024)) KiB for $(du -sk "$DATA_DIR" | cut -f1) KiB of data"
# A user who has run the saver before: its first run writes no defaults over these.
wine reg add "$settings_key" /v Message /d "$kept_message" /f >/dev/null 2>&1 </dev/null ||
  fail "cannot write the settings key"
wine reg add 'HKCU\Software\VB and VBA Program Settings\Airlume\System' /v SetReg /d 2 /f \
  >/dev/null 2>&1 </dev/null || fail "cannot write the settings key"
reg_export 'HKCU\Control Panel\Desktop' "$work/desktop-before.reg" || fail "no Control Panel\\Desktop key"

echo "a silent installation puts every file in place"
started=$(now_ms)
install_silently || fail "Skyfare-Setup.exe /S exited with $?: $(cat "$work/setup.out")"
echo "  silent installation: $(($(now_ms) - started)) ms"
check_installed
extra=$(cd "$installed" && ls -A | grep -vxF -f <(printf '%s\n' "${data_files[@]}" Uninstall.exe) || true)
[[ -z $extra ]] || fail "the setup installed files it does not remove: $extra"

echo "Programs and Features lists it, in the 64-bit registry"
reg_export "$uninstall_key" "$work/key.reg" || fail "no $uninstall_key"
value() { sed -n "s/^\"$1\"=//p" "$work/key.reg"; }
expect_value() { [[ $(value "$1") == "$2" ]] || fail "$1 is $(value "$1"), not $2"; }
expect_value DisplayName '"Skyfare"'
expect_value DisplayVersion "\"$VERSION\""
expect_value Publisher '"Corvinel"'
expect_value DisplayIcon '"C:\\windows\\system32\\Skyfare.scr,0"'
expect_value UninstallString '"\"C:\\Corvinel\\Skyfare\\Uninstall.exe\""'
expect_value QuietUninstallString '"\"C:\\Corvinel\\Skyfare\\Uninstall.exe\" /S"'
expect_value InstallLocation '"C:\\Corvinel\\Skyfare"'
expect_value NoModify dword:00000001
expect_value NoRepair dword:00000001
estimated_kib=$((16#$(value EstimatedSize | sed 's/^dword://')))
actual_kib=$((($(du -cb "$DATA_DIR" "$SCREEN_SAVER" | tail -1 | cut -f1) + 1023) / 1024))
((estimated_kib * 10 >= actual_kib * 9 && estimated_kib * 10 <= actual_kib * 11)) ||
  fail "EstimatedSize is $estimated_kib KiB for $actual_kib KiB installed"
! key_exists 'HKLM\Software\WOW6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Skyfare' ||
  fail "the key went into the 32-bit registry view"
reg_export 'HKCU\Control Panel\Desktop' "$work/desktop-after.reg"
cmp -s "$work/desktop-before.reg" "$work/desktop-after.reg" ||
  fail "the setup changed the desktop settings: $(diff "$work/desktop-before.reg" "$work/desktop-after.reg")"

echo "the installed saver starts and a key ends it"
# Until the saver opens a window it ends by itself; once it does, a key press must end it.
wine 'C:\windows\system32\Skyfare.scr' /s >"$work/saver.out" 2>&1 </dev/null &
saver_pid=$!
# Wine names a program's X windows' class after its executable.
saver_window() { xdotool search --onlyvisible --class '^skyfare\.scr$' >/dev/null; }
saver_ended() { ! kill -0 "$saver_pid" 2>/dev/null; }
saver_ended_or_shown() { saver_ended || saver_window; }
wait_for 15 saver_ended_or_shown || fail "the saver neither showed a window nor ended within 15 s"
if ! saver_ended; then
  xdotool keydown space && nap 0.1 && xdotool keyup space
  wait_for 10 saver_ended || fail "a key did not end the saver"
fi
status=0
wait "$saver_pid" || status=$?
saver_pid=
((status == 0)) || fail "the installed saver exited with $status: $(cat "$work/saver.out")"

echo "the silent uninstaller takes away everything it installed, and the empty folders"
uninstall_silently
check_removed
[[ ! -e $drive_c/Corvinel ]] || fail "the uninstaller left C:\\Corvinel: $(ls -AR "$drive_c/Corvinel")"

echo "installing again over an installation keeps a picture of the user's own, and so does uninstalling"
install_silently || fail "the second installation exited with $?"
printf 'BM' >"$installed/my photo.bmp"
install_silently || fail "installing over an installation exited with $?"
check_installed
uninstall_silently
check_removed
[[ -f "$installed/my photo.bmp" ]] || fail "the uninstaller took the user's own picture"

echo "a file the setup cannot write fails the setup, which then claims no installation"
rm -f "$installed/my photo.bmp"
mkdir -p "$installed/jet01.bmp"
status=0
install_silently || status=$?
((status != 0)) || fail "the setup reported success without writing jet01.bmp"
! key_exists "$uninstall_key" || fail "a failed setup registered an uninstaller"

echo "the zip holds the saver, INSTALL.txt and the data folder as Corvinel/Skyfare"
mkdir "$work/zip"
(cd "$work/zip" && unzip -q "$ZIP") || fail "unzip failed on $ZIP"
cmp -s "$SCREEN_SAVER" "$work/zip/Skyfare.scr" || fail "the zip's Skyfare.scr differs"
diff -r "$DATA_DIR" "$work/zip/Corvinel/Skyfare" >"$work/zip.diff" || fail "the zip's data folder: $(cat "$work/zip.diff")"
[[ $(ls -A "$work/zip") == $'Corvinel\nINSTALL.txt\nSkyfare.scr' ]] || fail "the zip holds: $(ls -A "$work/zip")"
grep -q $'\r$' "$work/zip/INSTALL.txt" || fail "INSTALL.txt has no Windows line ends"
! grep -qv $'\r$' "$work/zip/INSTALL.txt" || fail "INSTALL.txt mixes line ends"
grep -qF "Skyfare $VERSION" "$work/zip/INSTALL.txt" || fail "INSTALL.txt does not give the version"
echo "ok"
