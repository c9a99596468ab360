#pragma once

#include <QSize>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/installation.h"
#include "platform/x11_window_watch.h"

namespace skyfare {

// Where a hosted session shows the scene: inside a host's window, or in a window of its own
// when there is no host.
struct HostedPlace {
  std::optional<std::uint32_t> hostWindow;
  std::unique_ptr<X11WindowWatch> hostWatch;  // set with hostWindow
  QSize hostSize;
  // A settings program's preview pane: never heard.
  bool isPreview = false;
};

// Runs a display session for a screen-saver host: the same session as the saver's, with its
// store, scene, frames and jet sound, but the host owns input, pointer and locking. Only the
// first of the host's savers to take the sound lock is heard. Runs until the host window is
// gone, the own window is closed, or the event loop is ended from outside; the unload step runs
// in every case. Returns the exit code.
int runHostedSession(HostedPlace place, const Installation& installation);

}  // namespace skyfare
