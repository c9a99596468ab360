#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointF>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "drawing/display_list_control.h"
#include "drawing/drawing_statistics.h"
#include "screen/frame_pacer.h"
#include "screen/hosted_window.h"
#include "screen/queued_input.h"

class QScreen;

namespace skyfare {

// Another program's window that the scene is shown in: a screen-saver host's window or a
// settings program's preview pane. A null window asks for a window of the component's own.
struct HostPlacement {
  QWindow* host = nullptr;
  QSize hostSize;
};

// The drawing component on the screens. By default InitDisplay opens a full-screen window on
// every screen, and keeps one on each screen that comes or goes later; any key, any mouse button
// and any real pointer movement over a window raise KeyDown, MouseDown and MouseMove, delivered
// from the event loop after the handler returns, so a sink may end the session from them.
// Placed in a host, it shows one window inside the host instead and raises no input events:
// input belongs to the host. Either way FrameUpdate comes 60 times a second whatever the
// monitor, never twice for one tick, and each Flip repaints and flushes only what changed.
class QtDrawingControl final : public DisplayListControl, private SceneWindowEvents {
 public:
  QtDrawingControl();
  explicit QtDrawingControl(HostPlacement placement);
  ~QtDrawingControl() override;
  QtDrawingControl(const QtDrawingControl&) = delete;
  QtDrawingControl& operator=(const QtDrawingControl&) = delete;

  void setEventSink(DrawingEvents* sink) override { sink_ = sink; }
  // The component has no window beside the ones that show the scene, so there is nothing to show.
  void setVisible(bool) override {}
  // The scene is always 800 × 600; false when there is no screen to show it on.
  bool InitDisplay(int width, int height, int bitsPerPixel, std::string_view options) override;
  void Flip() override;

  // Placed in a host: the host's new inner size, which the scene's window follows.
  void followHostSize(QSize hostSize);

  DrawingStatistics statistics() const { return statistics_; }
  std::size_t windowCount() const { return windows_.size(); }

 private:
  void openScreenWindows();
  void addWindow(QScreen* screen);
  void removeWindow(QScreen* screen);
  void frameDue();
  // The sink input events go to: none while the display is closed.
  DrawingEvents* liveSink() const;

  void keyPressed() override;
  void mousePressed() override;
  void mouseMoved(QPointF globalPosition) override;
  void windowFlushed() override;

  std::optional<HostPlacement> placement_;
  QObject context_;
  DrawingEvents* sink_ = nullptr;
  bool displayOpen_ = false;
  std::vector<std::unique_ptr<SceneWindow>> windows_;
  HostedWindow* hostedWindow_ = nullptr;  // one of windows_ when placed in a host
  FramePacer pacer_;
  QueuedInput input_;
  QPointF lastPointer_;
  QElapsedTimer sinceInit_;
  DrawingStatistics statistics_;
};

}  // namespace skyfare
