#include "platform/x11_window_watch.h"

#include <X11/Xlib.h>

namespace skyfare {
namespace {

// A window that is gone answers with an error; the call's result says so, so the error itself
// is only swallowed here instead of ending the process.
int ignoreXError(Display*, XErrorEvent*) {
  return 0;
}

}  // namespace

// The connection, and Xlib's error handler, which is the whole process's: the one that was in
// place comes back when the watch ends.
struct X11WindowWatch::Connection {
  Display* display = nullptr;
  XErrorHandler previousHandler = nullptr;
  ~Connection() {
    if (display)
      XCloseDisplay(display);
    XSetErrorHandler(previousHandler);
  }
};

X11WindowWatch::X11WindowWatch(std::uint64_t window)
    : connection_(std::make_unique<Connection>()), window_(window) {
  connection_->display = XOpenDisplay(nullptr);
  connection_->previousHandler = XSetErrorHandler(ignoreXError);
}

X11WindowWatch::~X11WindowWatch() = default;

std::optional<QSize> X11WindowWatch::clientSize() const {
  if (!connection_->display || window_ == 0)
    return std::nullopt;
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(connection_->display, static_cast<Window>(window_), &attributes)) {
    return std::nullopt;
  }
  return QSize(attributes.width, attributes.height);
}

}  // namespace skyfare
