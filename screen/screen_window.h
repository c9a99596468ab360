#pragma once

#include "screen/scene_window.h"

class QScreen;

namespace skyfare {

// A frameless full-screen window on one screen, above other windows, that reports every key,
// mouse button and pointer movement.
class ScreenWindow final : public SceneWindow {
 public:
  ScreenWindow(QScreen* screen, const DisplayList& presented, SceneWindowEvents& events,
               std::shared_ptr<ScaledPictures> scaledPictures = {});

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
};

}  // namespace skyfare
