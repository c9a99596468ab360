#include "screen/backing_store_presenter.h"

namespace skyfare {
namespace {

// The backing store's height as a share of the window's: a frame's damage usually fits, so
// the store is waited on about once a frame, as a full-size one is.
constexpr int kWindowRowsPerStoreRow = 4;

}  // namespace

BackingStorePresenter::BackingStorePresenter(QWindow& window)
    : window_(window), backingStore_(&window) {
  resize(window.size());
}

void BackingStorePresenter::resize(QSize windowSize) {
  storeRows_ = (windowSize.height() + kWindowRowsPerStoreRow - 1) / kWindowRowsPerStoreRow;
  nextStoreRow_ = 0;
  backingStore_.resize(QSize(windowSize.width(), storeRows_));
}

void BackingStorePresenter::present(const QRegion& region, const PaintPart& paint) {
  if (storeRows_ < 1)
    return;
  const QRect bounds = region.boundingRect();
  for (int top = bounds.top(); top <= bounds.bottom();) {
    const QRegion rest =
        region.intersected(QRect(0, top, window_.width(), bounds.bottom() + 1 - top));
    if (rest.isEmpty())
      break;
    top = rest.boundingRect().top();
    top += presentRows(region, top, paint);
  }
}

int BackingStorePresenter::presentRows(const QRegion& region, int top, const PaintPart& paint) {
  if (nextStoreRow_ >= storeRows_)
    nextStoreRow_ = 0;
  const QRegion part =
      region.intersected(QRect(0, top, window_.width(), storeRows_ - nextStoreRow_));
  const int rows = part.boundingRect().bottom() + 1 - top;
  const QPoint windowToStore(0, nextStoreRow_ - top);
  // Painting into rows the display server may still be reading waits for it to finish.
  backingStore_.beginPaint(part.translated(windowToStore));
  {
    QPainter painter(backingStore_.paintDevice());
    painter.translate(windowToStore);
    painter.setClipRegion(part);
    paint(painter, part);
  }
  backingStore_.endPaint();
  backingStore_.flush(part, &window_, windowToStore);
  nextStoreRow_ += rows;
  return rows;
}

}  // namespace skyfare
