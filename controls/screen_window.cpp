#include "controls/screen_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace skyfare {

ScreenWindow::ScreenWindow(QScreen* screen, const DisplayList& presented,
                           ScreenWindowEvents& events)
    : presented_(presented),
      events_(events),
      backingStore_(this),
      renderer_(screen->geometry().size()) {
  setScreen(screen);
  setSurfaceType(QSurface::RasterSurface);
  setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  // Without a window manager a full-screen request alone leaves the window at 0 × 0.
  setGeometry(screen->geometry());
  backingStore_.resize(screen->geometry().size());
  connect(screen, &QScreen::geometryChanged, this, [this](const QRect& g) { setGeometry(g); });
  showFullScreen();
  requestActivate();
}

bool ScreenWindow::present(const QRegion& sceneDamage) {
  return paint(renderer_.mapping().toTarget(sceneDamage), false);
}

void ScreenWindow::exposeEvent(QExposeEvent*) {
  paintAll();
}

void ScreenWindow::resizeEvent(QResizeEvent*) {
  backingStore_.resize(size());
  renderer_.setTargetSize(size());
  paintAll();
}

void ScreenWindow::keyPressEvent(QKeyEvent*) {
  events_.keyPressed();
}

void ScreenWindow::mousePressEvent(QMouseEvent*) {
  events_.mousePressed();
}

void ScreenWindow::mouseMoveEvent(QMouseEvent* event) {
  events_.mouseMoved(event->globalPosition());
}

bool ScreenWindow::paint(const QRegion& region, bool withBars) {
  if (!isExposed() || region.isEmpty())
    return false;
  backingStore_.beginPaint(region);
  {
    QPainter painter(backingStore_.paintDevice());
    if (withBars)
      renderer_.renderBars(painter);
    renderer_.render(painter, presented_, region);
  }
  backingStore_.endPaint();
  backingStore_.flush(region);
  events_.windowFlushed();
  return true;
}

void ScreenWindow::paintAll() {
  paint(QRegion(QRect(QPoint(0, 0), size())), true);
}

}  // namespace skyfare
