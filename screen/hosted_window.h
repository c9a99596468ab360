#pragma once

#include "screen/scene_window.h"

namespace skyfare {

inline constexpr int kOwnWindowWidth = 800;
inline constexpr int kOwnWindowHeight = 600;

// A host window's size as far as the screens can show it: a host may claim any size, and no
// more than that is ever drawn.
QSize boundedToScreens(QSize hostSize);

// The scene inside another program's window, as a child that fills it, or, with no host, in
// an ordinary 800 × 600 window of its own. Input passes through to whoever owns the host: the
// window takes no focus and no pointer or key events.
class HostedWindow final : public SceneWindow {
 public:
  // With a host, hostSize is its inner size; with none (null), the window is a top-level one.
  HostedWindow(QWindow* host, QSize hostSize, const DisplayList& presented,
               SceneWindowEvents& events, std::shared_ptr<ScaledPictures> scaledPictures = {});

  // The host's inner size, which the window covers.
  void followHostSize(QSize hostSize);
};

}  // namespace skyfare
