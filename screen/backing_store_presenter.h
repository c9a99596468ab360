#pragma once

#include <QBackingStore>
#include <QWindow>

#include "screen/window_presenter.h"

namespace skyfare {

// Presents through Qt's backing store, on any platform. The store holds a stretch of rows
// only, filled with the damaged rows of one frame after another and flushed into place, so
// its memory is a fraction of the window's.
class BackingStorePresenter final : public WindowPresenter {
 public:
  explicit BackingStorePresenter(QWindow& window);

  void resize(QSize windowSize) override;
  void present(const QRegion& region, const PaintPart& paint) override;

 private:
  // Paints the damaged rows from top on into the store's free rows; the rows done.
  int presentRows(const QRegion& region, int top, const PaintPart& paint);

  QWindow& window_;
  QBackingStore backingStore_;
  int storeRows_ = 0;
  int nextStoreRow_ = 0;  // rows above it were flushed since the store was last filled
};

}  // namespace skyfare
