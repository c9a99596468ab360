#pragma once

#include <QImage>
#include <QRegion>

#include "drawing/display_list_control.h"
#include "drawing/scene_renderer.h"

namespace skyfare {

// A drawing component without a window: each Flip paints what changed into an 800 × 600
// picture with the same renderer the screen windows use. Frames come only when raiseFrame is
// called, so tests and tools decide when time passes.
class OffscreenDrawingControl final : public DisplayListControl {
 public:
  OffscreenDrawingControl();

  void setEventSink(DrawingEvents* sink) override { sink_ = sink; }
  void setVisible(bool) override {}
  // Always succeeds.
  bool InitDisplay(int width, int height, int bitsPerPixel, std::string_view options) override;
  void Flip() override;

  // Raises FrameUpdate once, after InitDisplay and while a sink is set.
  void raiseFrame();
  const QImage& lastFrame() const { return frame_; }
  // The scene pixels the last Flip repainted.
  const QRegion& lastDamage() const { return lastDamage_; }

 private:
  DrawingEvents* sink_ = nullptr;
  bool displayOpen_ = false;
  SceneRenderer renderer_;
  QImage frame_;
  QRegion lastDamage_;
};

}  // namespace skyfare
