#include "raster/frame_ops.h"

#include <algorithm>

#include "raster/frame_changes.h"

namespace skyfare::raster {

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
  forEachChangedOp(previous, next, [&damage](const FrameOp& op) { addOpDamage(damage, op); });
  return damage;
}

}  // namespace skyfare::raster
