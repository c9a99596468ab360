#include "wayland/wayland_drawing_control.h"

#include <algorithm>

namespace skyfare {

WaylandDrawingControl::WaylandDrawingControl(WaylandConnection& connection,
                                             LayerPlacement placement,
                                             std::function<void()> connectionLost)
    : connection_(connection),
      placement_(placement),
      connectionLost_(std::move(connectionLost)),
      input_(*this),
      pacer_([this] {
        if (sink_ != nullptr)
          sink_->FrameUpdate();
      }),
      queuedInput_([this] { return displayOpen_ ? sink_ : nullptr; }) {}

WaylandDrawingControl::~WaylandDrawingControl() {
  connection_.setObserver(nullptr);
  surfaces_.clear();
}

bool WaylandDrawingControl::InitDisplay(int, int, int, std::string_view) {
  if (displayOpen_)
    return true;
  sinceInit_.start();
  displayOpen_ = true;
  connection_.setObserver(this);
  connection_.startEventPump([this] {
    displayOpen_ = false;
    surfaces_.clear();
    if (connectionLost_)
      connectionLost_();
  });
  pacer_.start();
  return true;
}

void WaylandDrawingControl::Flip() {
  ++statistics_.framesComposed;
  const QRegion damage = presentComposedFrame();
  if (damage.isEmpty())
    return;
  const std::int64_t flushesBefore = statistics_.flushes;
  for (const auto& surface : surfaces_) surface->present();
  if (statistics_.flushes > flushesBefore)
    ++statistics_.framesPresented;
  letGoOfPicturesNoLongerDrawn(presented());
}

void WaylandDrawingControl::outputAdded(WaylandOutput& output) {
  output.onChanged([this, &output] { outputChanged(output); });
  if (output.ready())
    outputChanged(output);
}

void WaylandDrawingControl::outputRemoved(WaylandOutput& output) {
  std::erase_if(surfaces_, [&output](const auto& s) { return &s->output() == &output; });
}

void WaylandDrawingControl::outputChanged(WaylandOutput& output) {
  const auto surface = std::find_if(surfaces_.begin(), surfaces_.end(),
                                    [&output](const auto& s) { return &s->output() == &output; });
  if (surface != surfaces_.end()) {
    (*surface)->followScale();
    return;
  }
  SceneWindowEvents& events = *this;
  surfaces_.push_back(std::make_unique<LayerSurface>(connection_, output, placement_, presented(),
                                                     scaledPictures(), events));
}

void WaylandDrawingControl::seatAdded(std::uint32_t globalName, std::uint32_t version) {
  input_.addSeat(connection_.registry(), globalName, version);
}

void WaylandDrawingControl::seatRemoved(std::uint32_t globalName) {
  input_.removeSeat(globalName);
}

void WaylandDrawingControl::raiseLater(void (DrawingEvents::*event)()) {
  // Without the keyboard the surfaces sit under someone else's screen, which owns the input.
  if (!placement_.takesKeyboard)
    return;
  queuedInput_.raiseLater(event);
}

void WaylandDrawingControl::keyPressed() {
  raiseLater(&DrawingEvents::KeyDown);
}

void WaylandDrawingControl::mousePressed() {
  raiseLater(&DrawingEvents::MouseDown);
}

void WaylandDrawingControl::mouseMoved(QPointF) {
  raiseLater(&DrawingEvents::MouseMove);
}

void WaylandDrawingControl::windowFlushed() {
  ++statistics_.flushes;
  if (!statistics_.msToFirstFrame && statistics_.framesComposed > 0)
    statistics_.msToFirstFrame = sinceInit_.elapsed();
}

}  // namespace skyfare
