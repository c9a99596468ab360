#pragma once

#include <QElapsedTimer>
#include <functional>
#include <memory>
#include <vector>

#include "drawing/display_list_control.h"
#include "drawing/drawing_statistics.h"
#include "screen/frame_pacer.h"
#include "screen/queued_input.h"
#include "screen/scene_window.h"
#include "wayland/layer_surface.h"
#include "wayland/wayland_connection.h"
#include "wayland/wayland_input.h"

namespace skyfare {

// The drawing component on a compositor with layer surfaces, over our own connection: from
// InitDisplay on, one layer surface on every output, following outputs that come and go. Any
// key, any mouse button and any pointer movement over a surface raise KeyDown, MouseDown and
// MouseMove from the event loop after the handler returns, so a sink may end the session from
// them; surfaces placed without the keyboard raise none. FrameUpdate comes 60 times a second
// whatever the outputs; each surface shows the newest frame when its output asks for one.
class WaylandDrawingControl final : public DisplayListControl,
                                    private SceneWindowEvents,
                                    private WaylandGlobalsObserver {
 public:
  // connectionLost runs once, from the event loop, when the compositor ends the connection.
  WaylandDrawingControl(WaylandConnection& connection, LayerPlacement placement,
                        std::function<void()> connectionLost);
  ~WaylandDrawingControl() override;
  WaylandDrawingControl(const WaylandDrawingControl&) = delete;
  WaylandDrawingControl& operator=(const WaylandDrawingControl&) = delete;

  void setEventSink(DrawingEvents* sink) override { sink_ = sink; }
  // The component has no window beside the surfaces that show the scene.
  void setVisible(bool) override {}
  // The scene is always 800 × 600. Outputs may come later, so an open connection is enough.
  bool InitDisplay(int width, int height, int bitsPerPixel, std::string_view options) override;
  void Flip() override;

  DrawingStatistics statistics() const { return statistics_; }
  std::size_t surfaceCount() const { return surfaces_.size(); }

 private:
  void outputAdded(WaylandOutput& output) override;
  void outputRemoved(WaylandOutput& output) override;
  void seatAdded(std::uint32_t globalName, std::uint32_t version) override;
  void seatRemoved(std::uint32_t globalName) override;
  void outputChanged(WaylandOutput& output);

  void keyPressed() override;
  void mousePressed() override;
  void mouseMoved(QPointF surfacePosition) override;
  void windowFlushed() override;
  void raiseLater(void (DrawingEvents::*event)());

  WaylandConnection& connection_;
  LayerPlacement placement_;
  std::function<void()> connectionLost_;
  DrawingEvents* sink_ = nullptr;
  bool displayOpen_ = false;
  WaylandInput input_;
  std::vector<std::unique_ptr<LayerSurface>> surfaces_;
  FramePacer pacer_;
  QueuedInput queuedInput_;
  QElapsedTimer sinceInit_;
  DrawingStatistics statistics_;
};

}  // namespace skyfare
