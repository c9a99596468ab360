#include "drawing/display_list.h"

#include "raster/scene_clip.h"

namespace skyfare {

bool SpriteOp::operator==(const SpriteOp& other) const {
  return sprite == other.sprite && imageVersion == other.imageVersion && x == other.x &&
         y == other.y;
}

QRect SpriteOp::bounds() const {
  const QSize size = pictureSize();
  return toQRect(sceneClipped(x, y, size.width(), size.height()));
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

bool samePicture(const DrawOp& a, const DrawOp& b) {
  const auto* first = std::get_if<SpriteOp>(&a);
  const auto* second = std::get_if<SpriteOp>(&b);
  if (first != nullptr && second != nullptr)
    return first->sprite == second->sprite && first->imageVersion == second->imageVersion;
  return a == b;
}

std::size_t opaqueBaseLength(const DisplayList& list) {
  std::size_t length = 0;
  while (length < list.size()) {
    const auto* sprite = std::get_if<SpriteOp>(&list[length]);
    if (!std::holds_alternative<FillOp>(list[length]) && (sprite == nullptr || !sprite->isOpaque()))
      break;
    ++length;
  }
  return length;
}

}  // namespace skyfare
