#include "raster/frame_ops.h"

#include <algorithm>

namespace skyfare {

PixelRect SpriteOp::bounds() const {
  return sceneClipped(x, y, width, height);
}

PixelRect opBounds(const FrameOp& op) {
  return std::visit([](const auto& o) { return o.bounds(); }, op);
}

PixelRect sceneClipped(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) {
  const std::int64_t left = std::max<std::int64_t>(x, 0);
  const std::int64_t top = std::max<std::int64_t>(y, 0);
  const std::int64_t right = std::min<std::int64_t>(x + width, kSceneWidth);
  const std::int64_t bottom = std::min<std::int64_t>(y + height, kSceneHeight);
  if (width <= 0 || height <= 0 || left >= right || top >= bottom)
    return {};
  return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
          static_cast<int>(bottom - top)};
}

PixelRects frameDamage(const FrameOps& previous, const FrameOps& next) {
  PixelRects damage;
  const std::size_t count = std::max(previous.size(), next.size());
  for (std::size_t i = 0; i < count; ++i) {
    const bool inPrevious = i < previous.size();
    const bool inNext = i < next.size();
    if (inPrevious && inNext && previous[i] == next[i])
      continue;
    if (inPrevious)
      addJoined(damage, opBounds(previous[i]));
    if (inNext)
      addJoined(damage, opBounds(next[i]));
  }
  return damage;
}

}  // namespace skyfare
