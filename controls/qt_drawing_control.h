#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointF>
#include <memory>
#include <vector>

#include "controls/display_list_control.h"
#include "controls/drawing_statistics.h"
#include "controls/frame_pacer.h"
#include "controls/screen_window.h"

class QScreen;

namespace skyfare {

// The drawing component on the screens: InitDisplay opens a full-screen window on every
// screen, and keeps one on each screen that comes or goes later. FrameUpdate comes 60 times a
// second whatever the monitor, never twice for one tick; each Flip repaints and flushes only
// what changed. Any key, any mouse button and any real pointer movement over a window raise
// KeyDown, MouseDown and MouseMove, delivered from the event loop after the handler returns,
// so a sink may end the session from them.
class QtDrawingControl final : public DisplayListControl, private ScreenWindowEvents {
 public:
  QtDrawingControl();
  ~QtDrawingControl() override;
  QtDrawingControl(const QtDrawingControl&) = delete;
  QtDrawingControl& operator=(const QtDrawingControl&) = delete;

  void setEventSink(DrawingEvents* sink) override { sink_ = sink; }
  // The component has no window beside the full-screen ones, so there is nothing to show.
  void setVisible(bool) override {}
  // The scene is always 800 × 600; false when there is no screen to show it on.
  bool InitDisplay(int width, int height, int bitsPerPixel, std::string_view options) override;
  void Flip() override;

  DrawingStatistics statistics() const { return statistics_; }
  std::size_t windowCount() const { return windows_.size(); }

 private:
  void addWindow(QScreen* screen);
  void removeWindow(QScreen* screen);
  // Lets go of scaled pictures that no window draws any more.
  void dropUnusedPictures();
  void frameDue();
  void raiseLater(void (DrawingEvents::*event)());

  void keyPressed() override;
  void mousePressed() override;
  void mouseMoved(QPointF globalPosition) override;
  void windowFlushed() override;

  QObject context_;
  DrawingEvents* sink_ = nullptr;
  bool displayOpen_ = false;
  DisplayList presented_;
  std::vector<std::unique_ptr<ScreenWindow>> windows_;
  std::shared_ptr<ScaledPictures> scaledPictures_ = std::make_shared<ScaledPictures>();
  FramePacer pacer_;
  QPointF lastPointer_;
  QElapsedTimer sinceInit_;
  DrawingStatistics statistics_;
};

}  // namespace skyfare
