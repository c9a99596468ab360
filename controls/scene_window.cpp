#include "controls/scene_window.h"

#include <QPainter>

namespace skyfare {

SceneWindow::SceneWindow(const DisplayList& presented, SceneWindowEvents& events, QSize initialSize)
    : presented_(presented), events_(events), backingStore_(this), renderer_(initialSize) {
  setSurfaceType(QSurface::RasterSurface);
  backingStore_.resize(initialSize);
}

bool SceneWindow::present(const QRegion& sceneDamage) {
  return paint(renderer_.mapping().toTarget(sceneDamage), false);
}

void SceneWindow::exposeEvent(QExposeEvent*) {
  paintAll();
}

void SceneWindow::resizeEvent(QResizeEvent*) {
  backingStore_.resize(size());
  renderer_.setTargetSize(size());
  paintAll();
}

bool SceneWindow::paint(const QRegion& region, bool withBars) {
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

void SceneWindow::paintAll() {
  paint(QRegion(QRect(QPoint(0, 0), size())), true);
}

}  // namespace skyfare
