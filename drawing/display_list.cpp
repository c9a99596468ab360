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

}  // namespace skyfare
