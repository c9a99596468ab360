#include "platform/display_probe.h"

#include <X11/Xlib.h>
#include <wayland-client.h>

#include <cstdlib>
#include <string_view>

namespace skyfare {

namespace {

bool named(const char* variable) {
  const char* value = std::getenv(variable);
  return value != nullptr && *value != '\0';
}

bool compositorAnswers() {
  wl_display* display = wl_display_connect(nullptr);
  if (display == nullptr)
    return false;
  wl_display_disconnect(display);
  return true;
}

std::string xServerProblem() {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0')
    return "DISPLAY is not set";
  Display* display = XOpenDisplay(nullptr);
  if (!display)
    return std::string("the X server at ") + name + " cannot be reached or refused the connection";
  XCloseDisplay(display);
  return {};
}

}  // namespace

std::string displayProblem() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform && std::string_view(platform).rfind("xcb", 0) != 0) {
    return {};  // offscreen, wayland, …: Qt's own plugin decides
  }
  if ((platform == nullptr || *platform == '\0') && named("WAYLAND_DISPLAY")) {
    // Qt tries the compositor first and the X server after it; it ends the process when neither
    // answers.
    if (compositorAnswers())
      return {};
    const std::string xProblem = xServerProblem();
    if (xProblem.empty())
      return {};
    return std::string("the Wayland compositor ") + std::getenv("WAYLAND_DISPLAY") +
           " cannot be reached, and " + xProblem;
  }
  return xServerProblem();
}

}  // namespace skyfare
