#include "wayland/buffer_damage.h"

namespace skyfare {

void BufferDamage::reset(QRect bounds) {
  bounds_ = bounds;
  buffers_.clear();
  paintedLast_.reset();
  unshown_ = QRegion(bounds);
}

void BufferDamage::add(const QRegion& damage) {
  const QRegion inside = damage.intersected(bounds_);
  if (inside.isEmpty())
    return;
  for (Buffer& buffer : buffers_) merge(buffer.damage, inside);
  merge(unshown_, inside);
}

std::optional<std::size_t> BufferDamage::acquire() {
  for (std::size_t i = 0; i < buffers_.size(); ++i) {
    if (!buffers_[i].lent)
      return i;
  }
  if (buffers_.size() == kMostBuffers)
    return std::nullopt;
  buffers_.push_back(Buffer{QRegion(bounds_), false});
  return buffers_.size() - 1;
}

BufferDamage::Repair BufferDamage::repairOf(std::size_t buffer) const {
  const QRegion& owed = buffers_[buffer].damage;
  if (!paintedLast_ || *paintedLast_ == buffer)
    return Repair{std::nullopt, QRegion(), owed};
  // The last buffer is whole but for what changed after it was painted.
  const QRegion& lastLacks = buffers_[*paintedLast_].damage;
  return Repair{paintedLast_, owed - lastLacks, owed.intersected(lastLacks)};
}

void BufferDamage::lend(std::size_t buffer) {
  paintedLast_ = buffer;
  buffers_[buffer].damage = QRegion();
  buffers_[buffer].lent = true;
  unshown_ = QRegion();
}

void BufferDamage::giveBack(std::size_t buffer) {
  if (buffer < buffers_.size())
    buffers_[buffer].lent = false;
}

void BufferDamage::merge(QRegion& into, const QRegion& damage) {
  into += damage;
  if (into.rectCount() > kMostRects)
    into = QRegion(into.boundingRect());
}

}  // namespace skyfare
