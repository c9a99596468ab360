#include "drawing/offscreen_drawing_control.h"

#include <QPainter>

namespace skyfare {

OffscreenDrawingControl::OffscreenDrawingControl()
    : renderer_(QSize(kSceneWidth, kSceneHeight), scaledPictures()),
      frame_(kSceneWidth, kSceneHeight, QImage::Format_RGB32) {
  frame_.fill(Qt::black);
}

bool OffscreenDrawingControl::InitDisplay(int, int, int, std::string_view) {
  displayOpen_ = true;
  return true;
}

void OffscreenDrawingControl::Flip() {
  lastDamage_ = presentComposedFrame();
  if (lastDamage_.isEmpty())
    return;
  QPainter painter(&frame_);
  renderer_.render(painter, presented(), renderer_.mapping().toTarget(lastDamage_));
}

void OffscreenDrawingControl::raiseFrame() {
  if (displayOpen_ && sink_ != nullptr)
    sink_->FrameUpdate();
}

}  // namespace skyfare
