#include "raster/frame_ops.h"

#include <algorithm>

namespace skyfare {

bool SpriteOp::operator==(const SpriteOp& other) const {
  return sprite == other.sprite && pictureVersion == other.pictureVersion && x == other.x &&
         y == other.y && width == other.width && height == other.height && opaque == other.opaque;
}

PixelRect SpriteOp::bounds() const {
  return sceneClipped(x, y, width, height);
}

PixelRects SpriteOp::damage() const {
  if (!coverage)
    return {bounds()};
  PixelRects shown;
  for (const PixelRect& part : *coverage) {
    const PixelRect rect =
        sceneClipped(std::int64_t{x} + part.x, std::int64_t{y} + part.y, part.width, part.height);
    if (!rect.isEmpty())
      shown.push_back(rect);
  }
  return shown;
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

namespace {

void addOpDamage(PixelRects& damage, const FrameOp& op) {
  if (const auto* sprite = std::get_if<SpriteOp>(&op)) {
    for (const PixelRect& rect : sprite->damage()) addJoined(damage, rect);
  } else {
    addJoined(damage, opBounds(op));
  }
}

}  // namespace

PixelRects frameDamage(const FrameOps& previous, const FrameOps& next) {
  PixelRects damage;
  const std::size_t count = std::max(previous.size(), next.size());
  for (std::size_t i = 0; i < count; ++i) {
    const bool inPrevious = i < previous.size();
    const bool inNext = i < next.size();
    if (inPrevious && inNext && previous[i] == next[i])
      continue;
    if (inPrevious)
      addOpDamage(damage, previous[i]);
    if (inNext)
      addOpDamage(damage, next[i]);
  }
  return damage;
}

}  // namespace skyfare
