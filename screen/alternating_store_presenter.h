#pragma once

#include <QBackingStore>
#include <QWindow>
#include <array>
#include <memory>

#include "screen/window_presenter.h"

namespace skyfare {

// Presents through two of Qt's backing stores of the window's full size, used in turn, where a
// store is the surface's own buffer (Wayland). A single store copies all of its previous buffer
// into the next each frame while the compositor still holds that one; each of two stores finds
// its own buffer free again a frame later, so only the damage of the frames since it was last
// used is painted into it.
class AlternatingStorePresenter final : public WindowPresenter {
 public:
  explicit AlternatingStorePresenter(QWindow& window);
  // The stores are resized and let go of from the one flushed longest ago on: Qt's offscreen
  // platform keeps one picture per window and crashes when a store lets go of it after the
  // store flushed last has.
  ~AlternatingStorePresenter() override;
  AlternatingStorePresenter(const AlternatingStorePresenter&) = delete;
  AlternatingStorePresenter& operator=(const AlternatingStorePresenter&) = delete;

  void resize(QSize windowSize) override;
  void present(const QRegion& region, const PaintPart& paint) override;

 private:
  struct Store {
    explicit Store(QWindow& window) : backingStore(&window) {}
    QBackingStore backingStore;
    QRegion stale;  // what changed on the window since this store was last painted
  };

  QWindow& window_;
  std::array<std::unique_ptr<Store>, 2> stores_;
  std::size_t next_ = 0;
};

}  // namespace skyfare
