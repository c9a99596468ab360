#include "screen/alternating_store_presenter.h"

namespace skyfare {

AlternatingStorePresenter::AlternatingStorePresenter(QWindow& window) : window_(window) {
  for (auto& store : stores_) store = std::make_unique<Store>(window);
  resize(window.size());
}

AlternatingStorePresenter::~AlternatingStorePresenter() {
  for (std::size_t i = 0; i < stores_.size(); ++i) stores_[(next_ + i) % stores_.size()].reset();
}

void AlternatingStorePresenter::resize(QSize windowSize) {
  for (std::size_t i = 0; i < stores_.size(); ++i) {
    Store& store = *stores_[(next_ + i) % stores_.size()];
    store.backingStore.resize(windowSize);
    store.stale = QRect(QPoint(0, 0), windowSize);
  }
}

void AlternatingStorePresenter::present(const QRegion& region, const PaintPart& paint) {
  const QRegion window(QRect(QPoint(0, 0), window_.size()));
  const QRegion fresh = region.intersected(window);
  if (fresh.isEmpty())
    return;
  Store& store = *stores_[next_];
  next_ = (next_ + 1) % stores_.size();
  for (auto& other : stores_)
    if (other.get() != &store)
      other->stale += fresh;
  // The store's buffer shows the window as it was when the store was last flushed.
  const QRegion part = (store.stale + fresh).intersected(window);
  store.stale = QRegion();
  store.backingStore.beginPaint(part);
  {
    QPainter painter(store.backingStore.paintDevice());
    painter.setClipRegion(part);
    paint(painter, part);
  }
  store.backingStore.endPaint();
  // The compositor is told what changed since the buffer it shows now, the other store's.
  store.backingStore.flush(fresh, &window_);
}

}  // namespace skyfare
