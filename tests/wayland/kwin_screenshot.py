# Writes the whole KWin workspace as raw BGRA rows to the file named, and prints its size as
# "WIDTHxHEIGHT". KWin hands a screenshot over a pipe given through D-Bus; the compositor must
# run with KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 to serve a program without a desktop entry.
import os
import sys

import dbus

screenshots = dbus.Interface(
    dbus.SessionBus().get_object("org.kde.KWin", "/org/kde/KWin/ScreenShot2"),
    "org.kde.KWin.ScreenShot2")
read_end, write_end = os.pipe()
meta = screenshots.CaptureWorkspace({"native-resolution": True}, dbus.types.UnixFd(write_end))
os.close(write_end)
chunks = []
while chunk := os.read(read_end, 1 << 20):
    chunks.append(chunk)
data = b"".join(chunks)
width, height, stride = int(meta["width"]), int(meta["height"]), int(meta["stride"])
with open(sys.argv[1], "wb") as out:
    for row in range(height):
        out.write(data[row * stride:row * stride + width * 4])
print("%dx%d" % (width, height))
