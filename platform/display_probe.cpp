#include "platform/display_probe.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <string_view>

namespace skyfare {

bool displayAvailable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform && std::string_view(platform).rfind("xcb", 0) != 0) {
    return true;  // offscreen, wayland, …: Qt's own plugin decides
  }
  if (!platform || !*platform) {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland && *wayland)
      return true;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display)
    return false;
  XCloseDisplay(display);
  return true;
}

}  // namespace skyfare
