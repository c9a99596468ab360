#pragma once

#include <QRect>
#include <QRegion>
#include <cstddef>
#include <optional>
#include <vector>

namespace skyfare {

// Which pixels of each of a surface's buffers are out of date. A buffer lent to the compositor
// cannot be painted until it is given back; when it is painted again, only what changed since
// it was last painted needs painting. A new buffer lacks all of the picture. Most of what a
// buffer lacks, the buffer painted last already has: copying it from there is far cheaper
// than painting it again.
class BufferDamage {
 public:
  // Two buffers alternate: the compositor reads the one it shows while the other is painted.
  // A compositor that holds both makes the next picture wait for one to come back rather than
  // cost a third screen of memory.
  static constexpr std::size_t kMostBuffers = 2;
  // A region of more rectangles than this is kept as its bounding rectangle, so the damage of a
  // surface that is not shown for hours stays small.
  static constexpr int kMostRects = 32;

  // Every buffer is forgotten: the surface has a new size or scale.
  void reset(QRect bounds);
  std::size_t bufferCount() const { return buffers_.size(); }

  // A new frame changed this part of the picture.
  void add(const QRegion& damage);
  // True while the picture on screen lacks some change.
  bool unshown() const { return !unshown_.isEmpty(); }
  // What changed since the last buffer was lent: the damage to report with the next one.
  const QRegion& unshownRegion() const { return unshown_; }

  // The buffer to paint next: a free one, or a new one while fewer than kMostBuffers exist (its
  // index is bufferCount() - 1 then); none while the compositor holds them all.
  std::optional<std::size_t> acquire();
  // What the buffer must have painted before it shows the newest picture.
  const QRegion& damageOf(std::size_t buffer) const { return buffers_[buffer].damage; }

  // How to bring a buffer up to date: copy one part from the buffer painted last, paint the rest.
  struct Repair {
    std::optional<std::size_t> copyFrom;
    QRegion copy;
    QRegion paint;
  };
  Repair repairOf(std::size_t buffer) const;
  // The buffer was painted and lent to the compositor.
  void lend(std::size_t buffer);
  // The compositor gave it back.
  void giveBack(std::size_t buffer);

 private:
  struct Buffer {
    QRegion damage;
    bool lent = false;
  };
  static void merge(QRegion& into, const QRegion& damage);

  QRect bounds_;
  std::vector<Buffer> buffers_;
  std::optional<std::size_t> paintedLast_;
  QRegion unshown_;
};

}  // namespace skyfare
