#include "platform/display_probe.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <string_view>

namespace skyfare {

std::string displayProblem() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform && std::string_view(platform).rfind("xcb", 0) != 0) {
    return {};  // offscreen, wayland, …: Qt's own plugin decides
  }
  if (!platform || !*platform) {
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland && *wayland)
      return {};
  }
  const char* name = std::getenv("DISPLAY");
  if (!name || !*name)
    return "DISPLAY is not set";
  Display* display = XOpenDisplay(nullptr);
  if (!display)
    return std::string("the X server at ") + name + " cannot be reached or refused the connection";
  XCloseDisplay(display);
  return {};
}

}  // namespace skyfare
