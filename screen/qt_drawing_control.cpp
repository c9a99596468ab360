#include "screen/qt_drawing_control.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "screen/screen_window.h"

namespace skyfare {

QtDrawingControl::QtDrawingControl()
    : pacer_([this] { frameDue(); }), input_([this] { return liveSink(); }) {}

QtDrawingControl::QtDrawingControl(HostPlacement placement)
    : placement_(placement),
      pacer_([this] { frameDue(); }),
      input_([this] { return liveSink(); }) {}

QtDrawingControl::~QtDrawingControl() = default;

bool QtDrawingControl::InitDisplay(int, int, int, std::string_view) {
  if (displayOpen_)
    return true;
  // Without a display the program runs a plain QCoreApplication, which qGuiApp would miscast.
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr ||
      QGuiApplication::screens().isEmpty())
    return false;
  sinceInit_.start();
  if (placement_) {
    SceneWindowEvents& events = *this;
    auto window = std::make_unique<HostedWindow>(placement_->host, placement_->hostSize,
                                                 presented(), events, scaledPictures());
    hostedWindow_ = window.get();
    windows_.push_back(std::move(window));
  } else {
    openScreenWindows();
  }
  displayOpen_ = true;
  pacer_.start();
  return true;
}

void QtDrawingControl::Flip() {
  ++statistics_.framesComposed;
  const QRegion damage = presentComposedFrame();
  if (damage.isEmpty())
    return;
  bool flushed = false;
  for (const auto& window : windows_) flushed = window->present(damage) || flushed;
  if (flushed)
    ++statistics_.framesPresented;
  letGoOfPicturesNoLongerDrawn(presented());
}

void QtDrawingControl::followHostSize(QSize hostSize) {
  if (hostedWindow_ != nullptr)
    hostedWindow_->followHostSize(hostSize);
}

void QtDrawingControl::openScreenWindows() {
  // A window appearing under a still pointer may bring a move event; that is no movement.
  lastPointer_ = QCursor::pos();
  for (QScreen* screen : QGuiApplication::screens()) addWindow(screen);
  QObject::connect(qGuiApp, &QGuiApplication::screenAdded, &context_,
                   [this](QScreen* screen) { addWindow(screen); });
  QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, &context_,
                   [this](QScreen* screen) { removeWindow(screen); });
}

void QtDrawingControl::addWindow(QScreen* screen) {
  SceneWindowEvents& events = *this;
  windows_.push_back(std::make_unique<ScreenWindow>(screen, presented(), events, scaledPictures()));
}

void QtDrawingControl::removeWindow(QScreen* screen) {
  // The window's renderer takes the pictures of a scale no other window uses with it.
  std::erase_if(windows_, [screen](const auto& window) { return window->screen() == screen; });
}

void QtDrawingControl::frameDue() {
  if (sink_ != nullptr)
    sink_->FrameUpdate();
}

DrawingEvents* QtDrawingControl::liveSink() const {
  return displayOpen_ ? sink_ : nullptr;
}

void QtDrawingControl::keyPressed() {
  input_.raiseLater(&DrawingEvents::KeyDown);
}

void QtDrawingControl::mousePressed() {
  input_.raiseLater(&DrawingEvents::MouseDown);
}

void QtDrawingControl::mouseMoved(QPointF globalPosition) {
  if (globalPosition == lastPointer_)
    return;
  lastPointer_ = globalPosition;
  input_.raiseLater(&DrawingEvents::MouseMove);
}

void QtDrawingControl::windowFlushed() {
  ++statistics_.flushes;
  if (!statistics_.msToFirstFrame && statistics_.framesComposed > 0)
    statistics_.msToFirstFrame = sinceInit_.elapsed();
}

}  // namespace skyfare
