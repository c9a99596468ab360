#include "drawing/display_list.h"

#include <algorithm>

namespace skyfare {

bool SpriteOp::operator==(const SpriteOp& other) const {
  return sprite == other.sprite && imageVersion == other.imageVersion && x == other.x &&
         y == other.y;
}

QRect SpriteOp::bounds() const {
  const QSize size = pictureSize();
  return sceneClipped(x, y, size.width(), size.height());
}

QRegion SpriteOp::damage() const {
  const QRect shown = bounds();
  if (shown.isEmpty())
    return {};
  return coverage.translated(x, y).intersected(shown);
}

bool TextOp::operator==(const TextOp& other) const {
  return x == other.x && y == other.y && colour == other.colour && text == other.text &&
         font == other.font;
}

QRect opBounds(const DrawOp& op) {
  return std::visit([](const auto& o) { return o.bounds(); }, op);
}

QRegion opDamage(const DrawOp& op) {
  if (const auto* sprite = std::get_if<SpriteOp>(&op))
    return sprite->damage();
  return opBounds(op);
}

QRect sceneClipped(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) {
  const std::int64_t left = std::max<std::int64_t>(x, 0);
  const std::int64_t top = std::max<std::int64_t>(y, 0);
  const std::int64_t right = std::min<std::int64_t>(x + width, kSceneWidth);
  const std::int64_t bottom = std::min<std::int64_t>(y + height, kSceneHeight);
  if (width <= 0 || height <= 0 || left >= right || top >= bottom)
    return {};
  return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
               static_cast<int>(bottom - top));
}

}  // namespace skyfare
