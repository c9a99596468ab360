#include "screen/screen_window.h"

#include <QMouseEvent>
#include <QScreen>

namespace skyfare {

ScreenWindow::ScreenWindow(QScreen* screen, const DisplayList& presented, SceneWindowEvents& events,
                           std::shared_ptr<ScaledPictures> scaledPictures)
    : SceneWindow(presented, events, screen->geometry().size(), std::move(scaledPictures)) {
  setScreen(screen);
  setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  // Without a window manager a full-screen request alone leaves the window at 0 × 0.
  setGeometry(screen->geometry());
  connect(screen, &QScreen::geometryChanged, this, [this](const QRect& g) { setGeometry(g); });
  showFullScreen();
  requestActivate();
}

void ScreenWindow::keyPressEvent(QKeyEvent*) {
  events().keyPressed();
}

void ScreenWindow::mousePressEvent(QMouseEvent*) {
  events().mousePressed();
}

void ScreenWindow::mouseMoveEvent(QMouseEvent* event) {
  events().mouseMoved(event->globalPosition());
}

}  // namespace skyfare
