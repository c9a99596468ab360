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

void fill(const PixelTarget& into, const PixelRect& rect, std::uint32_t pixel) {
  for (int y = rect.y; y < rect.bottom(); ++y) {
    std::uint32_t* line = into.at(rect.x, y);
    std::fill(line, line + rect.width, pixel);
  }
}

// The picture's pixels over the rectangle's, the picture's left and top edge at (atX, atY): a
// clear run leaves the target alone, an opaque one is a fill.
void blend(const PixelTarget& into, const RunPicture& picture, int atX, int atY,
           const PixelRect& area) {
  const PixelRect rect = area.intersected({atX, atY, picture.width(), picture.height()});
  for (int y = rect.y; y < rect.bottom(); ++y) {
    std::uint32_t* line = into.at(rect.x, y);
    int runStart = atX;
    for (const RunPicture::Run& run : picture.row(y - atY)) {
      if (runStart >= rect.right())
        break;
      const int runEnd = runStart + static_cast<int>(run.length);
      const int from = std::max(runStart, rect.x);
      const int to = std::min(runEnd, rect.right());
      runStart = runEnd;
      if (from >= to)
        continue;
      const std::uint32_t alpha = alphaOf(run.pixel);
      std::uint32_t* const begin = line + (from - rect.x);
      std::uint32_t* const end = line + (to - rect.x);
      if (alpha == 255)
        std::fill(begin, end, run.pixel);
      else if (alpha != 0)
        for (std::uint32_t* pixel = begin; pixel != end; ++pixel) *pixel = over(run.pixel, *pixel);
    }
  }
}

}  // namespace

SceneComposer::SceneComposer(int targetWidth, int targetHeight, ScaledLookup scaled,
                             TextPainter& text)
    : fit_(targetWidth, targetHeight), scaled_(std::move(scaled)), text_(text) {}

void SceneComposer::compose(const raster::FrameOps& list, const PixelRect& area,
                            const PixelTarget& into) {
  const PixelRect rect = area.intersected(fit_.content()).intersected(into.area());
  if (rect.isEmpty())
    return;
  // Whatever lies under the last op that covers the rectangle opaquely cannot show.
  std::size_t first = list.size();
  while (first > 0 && !covers(list[first - 1], rect)) --first;
  if (first == 0)
    fill(into, rect, kBlack);
  else
    --first;
  for (std::size_t i = first; i < list.size(); ++i) {
    const raster::FrameOp& op = list[i];
    if (!footprint(op).intersects(rect))
      continue;
    if (const auto* fillOp = std::get_if<raster::FillOp>(&op)) {
      fill(into, rect, targetPixel(fillOp->colour));
    } else if (const auto* sprite = std::get_if<raster::SpriteOp>(&op)) {
      if (const RunPicture* picture = scaled_(*sprite))
        blend(into, *picture, fit_.toTargetX(sprite->x), fit_.toTargetY(sprite->y), rect);
    } else if (const auto* text = std::get_if<raster::TextOp>(&op)) {
      text_.paintText(*text, fit_, rect);
    }
  }
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

}  // namespace skyfare
