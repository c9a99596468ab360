#include "controls/scene_window.h"

#include <QPainter>

namespace skyfare {
namespace {

// The backing store's height as a share of the window's: a frame's damage usually fits, so
// the store is waited on about once a frame, as a full-size one is.
constexpr int kWindowRowsPerStoreRow = 4;

}  // namespace

SceneWindow::SceneWindow(const DisplayList& presented, SceneWindowEvents& events, QSize initialSize,
                         std::shared_ptr<ScaledPictures> scaledPictures)
    : presented_(presented),
      events_(events),
      backingStore_(this),
      renderer_(initialSize, std::move(scaledPictures)) {
  setSurfaceType(QSurface::RasterSurface);
  resizeStore(initialSize);
}

bool SceneWindow::present(const QRegion& sceneDamage) {
  return paint(renderer_.mapping().toTarget(sceneDamage), false);
}

void SceneWindow::exposeEvent(QExposeEvent*) {
  paintAll();
}

void SceneWindow::resizeEvent(QResizeEvent*) {
  resizeStore(size());
  renderer_.setTargetSize(size());
  paintAll();
}

bool SceneWindow::paint(const QRegion& region, bool withBars) {
  if (!isExposed() || region.isEmpty() || storeRows_ < 1)
    return false;
  const QRect bounds = region.boundingRect();
  for (int top = bounds.top(); top <= bounds.bottom();) {
    const QRegion rest = region.intersected(QRect(0, top, width(), bounds.bottom() + 1 - top));
    if (rest.isEmpty())
      break;
    top = rest.boundingRect().top();
    top += paintRows(region, top, withBars);
  }
  events_.windowFlushed();
  return true;
}

int SceneWindow::paintRows(const QRegion& region, int top, bool withBars) {
  if (nextStoreRow_ >= storeRows_)
    nextStoreRow_ = 0;
  const QRegion part = region.intersected(QRect(0, top, width(), storeRows_ - nextStoreRow_));
  const int rows = part.boundingRect().bottom() + 1 - top;
  const QPoint windowToStore(0, nextStoreRow_ - top);
  // Painting into rows the display server may still be reading waits for it to finish.
  backingStore_.beginPaint(part.translated(windowToStore));
  {
    QPainter painter(backingStore_.paintDevice());
    painter.translate(windowToStore);
    painter.setClipRegion(part);
    if (withBars)
      renderer_.renderBars(painter);
    renderer_.render(painter, presented_, part);
  }
  backingStore_.endPaint();
  backingStore_.flush(part, this, windowToStore);
  nextStoreRow_ += rows;
  return rows;
}

void SceneWindow::resizeStore(QSize windowSize) {
  storeRows_ = (windowSize.height() + kWindowRowsPerStoreRow - 1) / kWindowRowsPerStoreRow;
  nextStoreRow_ = 0;
  backingStore_.resize(QSize(windowSize.width(), storeRows_));
}

void SceneWindow::paintAll() {
  paint(QRegion(QRect(QPoint(0, 0), size())), true);
}

}  // namespace skyfare
