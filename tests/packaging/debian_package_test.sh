#!/usr/bin/env bash
# The Debian package made from this build: its control data and contents, its desktop entry,
# software-centre data and manual page checked by their own validators, and the program and its
# host entry point run from the extracted package, which must find its data folder there.
source "$(dirname "$0")/../e2e/lib.sh"
source "$(dirname "$0")/../e2e/hosts_lib.sh"
HOST_WINDOW=${HOST_WINDOW:?the path of the preview host helper}
CPACK_CONFIG=${CPACK_CONFIG:?the CPackConfig.cmake of the build}
VERSION=${VERSION:?the project version}
APP_ID=${APP_ID:?the desktop id}

echo "cpack makes skyfare_${VERSION}_<arch>.deb"
(cd "$work" && cpack --config "$CPACK_CONFIG" -G DEB -B "$work/out") >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$work/cpack.log")"
deb=$work/out/skyfare_${VERSION}_$(dpkg --print-architecture).deb
[[ -f $deb ]] || fail "no $(basename "$deb") among: $(ls "$work/out")"
echo "  $(du -k "$deb" | cut -f1) KiB"

echo "control data: version, library dependencies, hosts suggested"
dpkg-deb -I "$deb" >"$work/info" || fail "dpkg-deb -I cannot read the package"
field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == skyfare ]] || fail "package name: $(field Package)"
[[ $(field Version) == "$VERSION" ]] || fail "package version: $(field Version)"
for library in libqt6widgets6 libsdl2-2.0-0 libxcb-shm0 libx11-6 libc6; do
  grep -q "$library" <<<"$(field Depends)" || fail "Depends lacks $library: $(field Depends)"
done
[[ $(field Suggests) == "xscreensaver | xsecurelock" ]] || fail "Suggests: $(field Suggests)"

echo "lintian finds no error"
lintian --fail-on error "$deb" >"$work/lintian" 2>&1 || fail "lintian: $(cat "$work/lintian")"
grep '^[EW]: ' "$work/lintian" || true

echo "contents: everything under /usr, the desktop files in their places"
# "mode owner size date time path[ -> target]"; names may hold blanks.
dpkg-deb -c "$deb" | sed -E 's/^([^ ]+ +){5}//; s/ -> .*//' >"$work/contents"
outside=$(grep -v '^\./usr/' "$work/contents" | grep -vxF './' || true)
[[ -z $outside ]] || fail "files outside /usr: $outside"
expected=(
  ./usr/bin/skyfare
  "./usr/share/skyfare/city lights.bmp" ./usr/share/skyfare/SF-Logo.bmp
  ./usr/share/skyfare/FastJet.bmp ./usr/share/skyfare/jet01.bmp ./usr/share/skyfare/mjet15.bmp
  ./usr/share/skyfare/takeoff.wav ./usr/share/skyfare/preview.bmp ./usr/share/skyfare/support.htm
  "./usr/share/applications/$APP_ID.desktop" "./usr/share/metainfo/$APP_ID.metainfo.xml"
  ./usr/share/man/man6/skyfare.6.gz
  ./usr/share/doc/skyfare/copyright ./usr/share/doc/skyfare/changelog.gz
  ./usr/libexec/skyfare/skyfare-hack
  ./usr/libexec/xscreensaver/skyfare ./usr/libexec/xsecurelock/saver_skyfare
  ./usr/share/xscreensaver/config/skyfare.xml
)
for size in 48 64 128 256; do
  expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/$APP_ID.png")
done
for path in "${expected[@]}"; do
  grep -qxF "$path" "$work/contents" || fail "the package lacks $path"
done

echo "extracted: the validators pass, one version everywhere"
root=$work/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"
desktop-file-validate "$root/usr/share/applications/$APP_ID.desktop" >"$work/check" 2>&1 ||
  fail "desktop-file-validate: $(cat "$work/check")"
[[ ! -s $work/check ]] || fail "desktop-file-validate: $(cat "$work/check")"
metainfo=$root/usr/share/metainfo/$APP_ID.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$work/check" 2>&1 ||
  fail "appstreamcli: $(cat "$work/check")"
! grep -qE '^[EW]: ' "$work/check" || fail "appstreamcli: $(cat "$work/check")"
grep -q "<release version=\"$VERSION\"" "$metainfo" || fail "the newest release is not $VERSION"
manual=$root/usr/share/man/man6/skyfare.6.gz
warnings=$(MANWIDTH=80 man --warnings -l "$manual" 2>&1 >/dev/null)
[[ -z $warnings ]] || fail "the manual page renders with warnings: $warnings"
lexgrog "$manual" | grep -q 'skyfare.* - ' || fail "lexgrog finds no NAME line: $(lexgrog "$manual")"
zcat "$manual" | grep -q "^\.TH SKYFARE 6 .*\"Skyfare $VERSION\"" || fail "the manual page's version"
zcat "$manual" | grep -q '/usr/libexec/skyfare/skyfare' || fail "the manual page names other paths"
zcat "$root/usr/share/doc/skyfare/changelog.gz" | head -1 | grep -qF "skyfare ($VERSION)" ||
  fail "the changelog's version"

echo "the extracted saver runs and shows the city from its own data folder"
SKYFARE=$root/usr/bin/skyfare
start_xvfb 1024x768
start_saver /s
wait_for 10 has_window_of_size "$saver_pid" "1024x768+0+0" || fail "no full-screen window"
# The lower half of the default background is the lit city; without its picture it stays black.
city_shown() { [[ $(pixel 512 600) != "0,0,0" && $(pixel 300 650) != "0,0,0" ]]; }
wait_for 10 city_shown || fail "the city picture does not show"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/packaged-saver.png"
grep -qxF "BMPFileName=$root/usr/share/skyfare/city lights.bmp" "$ini" ||
  fail "the default picture is not the package's: $(grep BMPFileName "$ini")"
press_key a
wait_for 2 gone "$saver_pid" || fail "a key did not end the saver"
saver_exited_zero || fail "exit code $saver_status after a key"

echo "the extracted host entry point, through the link XScreenSaver runs, draws in a host window"
SKYFARE_HACK=$root/usr/libexec/xscreensaver/skyfare
export XDG_CONFIG_HOME=$work/hack-config  # a first run of its own, from the link
coproc host { "$HOST_WINDOW" 400 300; }
read -r -t 10 window <&"${host[0]}" || fail "the host window did not start"
XSCREENSAVER_WINDOW=$window start_hack --root
wait_for 10 has_child_of_size "$window" "400x300+0+0" || fail "no child: $(children_of "$window")"
hack_city_shown() { [[ $(pixel 200 240) != "0,0,0" && $(pixel 120 255) != "0,0,0" ]]; }
wait_for 10 hack_city_shown || fail "the city picture does not show in the host window"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/packaged-hack.png"
grep -qxF "BMPFileName=$root/usr/share/skyfare/city lights.bmp" \
  "$XDG_CONFIG_HOME/Airlume/Airlume.ini" || fail "the entry point's default picture is not the package's"
kill -TERM "$hack_pid"
wait_gone_ms "$hack_pid" 1000 || fail "still running 1 s after SIGTERM"
wait_hack
[[ $hack_status == 143 ]] || fail "ended with $hack_status, not by SIGTERM"
echo quit >&"${host[1]}"
echo "passed"
