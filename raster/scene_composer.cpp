#include "raster/scene_composer.h"

#include <algorithm>

namespace skyfare {
namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;

std::uint32_t over(std::uint32_t source, std::uint32_t target) {
  const std::uint32_t alpha = alphaOf(source);
  if (alpha == 255)
    return source;
  if (alpha == 0)
    return target;
  const std::uint32_t keep = 255 - alpha;
  // Red and blue together, then green: one multiply each, rounded as x / 255.
  auto scaled = [keep](std::uint32_t pair) {
    std::uint32_t t = pair * keep + 0x00800080u;
    return ((t + ((t >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  };
  const std::uint32_t redBlue = scaled(target & 0x00FF00FFu);
  const std::uint32_t green = scaled((target >> 8) & 0x00FF00FFu) << 8;
  return kBlack | (source + ((redBlue | green) & 0x00FFFFFFu));
}

}  // namespace

SceneComposer::SceneComposer(PixelTarget target, ScaledLookup scaled, TextPainter& text)
    : target_(target), fit_(target.width, target.height), scaled_(std::move(scaled)), text_(text) {}

void SceneComposer::compose(const raster::FrameOps& list, const PixelRect& area) {
  const PixelRect rect = area.intersected(fit_.content());
  if (rect.isEmpty())
    return;
  // Whatever lies under the last op that covers the rectangle opaquely cannot show.
  std::size_t first = list.size();
  while (first > 0 && !covers(list[first - 1], rect)) --first;
  if (first == 0)
    fill(rect, kBlack);
  else
    --first;
  for (std::size_t i = first; i < list.size(); ++i) {
    const raster::FrameOp& op = list[i];
    if (!footprint(op).intersects(rect))
      continue;
    if (const auto* fillOp = std::get_if<raster::FillOp>(&op)) {
      fill(rect, targetPixel(fillOp->colour));
    } else if (const auto* sprite = std::get_if<raster::SpriteOp>(&op)) {
      if (const BgraPicture* picture = scaled_(*sprite))
        blend(*picture, fit_.toTargetX(sprite->x), fit_.toTargetY(sprite->y), rect);
    } else if (const auto* text = std::get_if<raster::TextOp>(&op)) {
      text_.paintText(*text, fit_, rect);
    }
  }
}

void SceneComposer::composeBars() {
  for (const PixelRect& bar : fit_.bars()) fill(bar, kBlack);
}

PixelRect SceneComposer::footprint(const raster::FrameOp& op) const {
  if (std::holds_alternative<raster::FillOp>(op))
    return fit_.content();
  if (const auto* sprite = std::get_if<raster::SpriteOp>(&op)) {
    if (sprite->bounds().isEmpty())
      return {};
    return PixelRect{fit_.toTargetX(sprite->x), fit_.toTargetY(sprite->y),
                     fit_.scaledLength(sprite->width), fit_.scaledLength(sprite->height)}
        .intersected(fit_.content());
  }
  return fit_.toTarget(opBounds(op));
}

bool SceneComposer::covers(const raster::FrameOp& op, const PixelRect& rect) const {
  if (std::holds_alternative<raster::FillOp>(op))
    return true;
  const auto* sprite = std::get_if<raster::SpriteOp>(&op);
  return sprite != nullptr && sprite->opaque && footprint(op).contains(rect);
}

void SceneComposer::fill(const PixelRect& area, std::uint32_t pixel) {
  const PixelRect rect = area.intersected({0, 0, target_.width, target_.height});
  for (int y = rect.y; y < rect.bottom(); ++y) {
    std::uint32_t* line = target_.pixels + static_cast<std::ptrdiff_t>(y) * target_.stridePixels;
    std::fill(line + rect.x, line + rect.right(), pixel);
  }
}

void SceneComposer::blend(const BgraPicture& picture, int atX, int atY, const PixelRect& area) {
  const PixelRect rect =
      area.intersected(fit_.content()).intersected({atX, atY, picture.width, picture.height});
  for (int y = rect.y; y < rect.bottom(); ++y) {
    std::uint32_t* line = target_.pixels + static_cast<std::ptrdiff_t>(y) * target_.stridePixels;
    const std::uint32_t* row =
        picture.pixels.data() + static_cast<std::ptrdiff_t>(y - atY) * picture.width;
    if (picture.opaque) {
      std::copy(row + (rect.x - atX), row + (rect.right() - atX), line + rect.x);
      continue;
    }
    for (int x = rect.x; x < rect.right(); ++x) line[x] = over(row[x - atX], line[x]);
  }
}

}  // namespace skyfare
