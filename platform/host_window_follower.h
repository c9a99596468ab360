#pragma once

#include <QSize>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/x11_window_watch.h"

namespace skyfare {

// Follows another program's window from the event loop: asks the X server four times a second
// for its size, tells each change, and tells once when the window is gone.
class HostWindowFollower {
 public:
  HostWindowFollower(std::unique_ptr<X11WindowWatch> watch, std::function<void(QSize)> onResized,
                     std::function<void()> onGone);

 private:
  void poll();

  std::unique_ptr<X11WindowWatch> watch_;
  std::function<void(QSize)> onResized_;
  std::function<void()> onGone_;
  QSize lastSize_;
  QTimer timer_;
};

}  // namespace skyfare
