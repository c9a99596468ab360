#!/usr/bin/env bash
# "/p <area>" under Wine: the preview as a child of a host's area in another process, and its
# picture in a host that shares its process (Wine draws nothing a child window of another
# process paints).
source "$(dirname "$0")/wine_lib.sh"
start_desktop 1024x768
install_data
scr=$(winepath -w "$SKYFARE")
wine "$PREVIEW_HOST" "$scr" || fail "the preview in another process's area"
wine "$PREVIEW_HOST" --same-process || fail "the preview's picture"
[[ -n ${SCREENSHOT_DIR:-} ]] && screenshot "$SCREENSHOT_DIR/windows-preview.png"
echo "passed"
