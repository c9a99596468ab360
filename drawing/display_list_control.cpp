#include "drawing/display_list_control.h"

#include <algorithm>

#include "drawing/frame_damage.h"
#include "raster/scene_clip.h"

namespace skyfare {
namespace {

std::int32_t wrappingAdd(std::int32_t value, std::int32_t delta) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) +
                                   static_cast<std::uint32_t>(delta));
}

}  // namespace

SpriteHandle DisplayListControl::CreateSprite() {
  return sprites_.create();
}

void DisplayListControl::LoadSpriteImage(SpriteHandle sprite, int, const std::string& fileName,
                                         int transparentMode) {
  const QImage picture = sprites_.loadImage(sprite, fileName, transparentMode);
  if (const SpriteStore::Sprite* loaded = sprites_.find(sprite))
    scaledPictures_->setSource(sprite, loaded->imageVersion, picture, loaded->denseSource);
}

void DisplayListControl::SetSpriteX(SpriteHandle sprite, std::int32_t x) {
  if (auto* s = sprites_.find(sprite))
    s->x = x;
}

void DisplayListControl::SetSpriteY(SpriteHandle sprite, std::int32_t y) {
  if (auto* s = sprites_.find(sprite))
    s->y = y;
}

void DisplayListControl::MoveSpriteX(SpriteHandle sprite, std::int32_t delta) {
  if (auto* s = sprites_.find(sprite))
    s->x = wrappingAdd(s->x, delta);
}

void DisplayListControl::MoveSpriteY(SpriteHandle sprite, std::int32_t delta) {
  if (auto* s = sprites_.find(sprite))
    s->y = wrappingAdd(s->y, delta);
}

std::int32_t DisplayListControl::GetSpriteX(SpriteHandle sprite) {
  const auto* s = sprites_.find(sprite);
  return s != nullptr ? s->x : 0;
}

void DisplayListControl::FillScreen(SceneColour colour) {
  frame_.emplace_back(std::in_place_type<FillOp>, FillOp{colour});
}

void DisplayListControl::DrawSprite(SpriteHandle sprite) {
  const auto* s = sprites_.find(sprite);
  if (s == nullptr || (s->image.isNull() && !s->denseSource))
    return;
  frame_.push_back(
      SpriteOp{sprite, s->imageVersion, s->x, s->y, s->image, s->coverage, s->denseSource});
}

void DisplayListControl::SetFont(const std::string& fontName, int size, int, bool bold, bool italic,
                                 bool underline) {
  if (size < 1) {
    font_.reset();
    return;
  }
  QFont font(QString::fromStdString(fontName));
  font.setPixelSize(std::min(size, kLargestFontSizePx));
  font.setBold(bold);
  font.setItalic(italic);
  font.setUnderline(underline);
  font_ = font;
}

void DisplayListControl::DrawText(const std::string& text, std::int32_t x, std::int32_t y,
                                  SceneColour colour) {
  if (!font_ || text.empty())
    return;
  TextOp op{QString::fromStdString(text), *font_, x, y, colour, 0, {}};
  const TextMeasure::Extent& extent = textMeasure_.measure(op.font, op.text);
  op.ascentPx = extent.ascentPx;
  op.inkBounds =
      toQRect(sceneClipped(std::int64_t{x} + extent.ink.left(), std::int64_t{y} + extent.ink.top(),
                           extent.ink.width(), extent.ink.height()));
  if (!op.inkBounds.isEmpty())
    frame_.push_back(std::move(op));
}

QRegion DisplayListControl::presentComposedFrame() {
  const QRegion damage = frameDamage(presented_, frame_);
  presented_ = std::move(frame_);
  frame_.clear();
  return damage;
}

void DisplayListControl::letGoOfPicturesNoLongerDrawn(const DisplayList& presented) {
  drawnNow_.clear();
  for (const DrawOp& op : presented) {
    if (const auto* sprite = std::get_if<SpriteOp>(&op))
      drawnNow_.emplace_back(sprite->sprite, sprite->imageVersion);
  }
  if (drawnNow_ == drawnBefore_)
    return;
  std::swap(drawnNow_, drawnBefore_);
  scaledPictures_->letGoOfUndrawn(presented);
}

}  // namespace skyfare
