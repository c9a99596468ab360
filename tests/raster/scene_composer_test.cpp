#include "raster/scene_composer.h"

#include <gtest/gtest.h>

#include <map>

namespace skyfare {
namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

// Counts the rectangles text is painted into, and paints a text's ink white.
struct MarkingText final : TextPainter {
  PixelTarget target;
  int calls = 0;
  void paintText(const raster::TextOp& op, const SceneFit& fit, const PixelRect& clip) override {
    ++calls;
    const PixelRect ink = fit.toTarget(op.inkBounds).intersected(clip);
    for (int y = ink.y; y < ink.bottom(); ++y)
      for (int x = ink.x; x < ink.right(); ++x) target.pixels[y * target.stridePixels + x] = ~0u;
  }
};

class SceneComposerTest : public ::testing::Test {
 protected:
  SceneComposerTest() { resize(1600, 1200); }

  void resize(int width, int height) {
    pixels_.assign(static_cast<std::size_t>(width) * height, 0x12345678u);
    target_ = {pixels_.data(), width, height, width};
    text_.target = target_;
    composer_ = std::make_unique<SceneComposer>(
        width, height,
        [this](const raster::SpriteOp& op) -> const RunPicture* {
          const auto found = pictures_.find(op.sprite);
          return found == pictures_.end() ? nullptr : &found->second;
        },
        text_);
  }
  // A sprite of one colour, prepared at the composer's scale.
  raster::SpriteOp sprite(SpriteHandle handle, int x, int y, int width, int height,
                          std::uint32_t pixel) {
    const SceneFit& fit = composer_->fit();
    BgraPicture picture{
        fit.scaledLength(width), fit.scaledLength(height), alphaOf(pixel) == 255, {}};
    picture.pixels.assign(static_cast<std::size_t>(picture.width) * picture.height, pixel);
    pictures_[handle] = RunPicture(picture);
    return raster::SpriteOp{handle, 1, x, y, width, height, alphaOf(pixel) == 255, {}};
  }
  // A sprite whose rows run clear, then translucent in steps, then opaque, then clear again, with
  // each row's runs starting elsewhere: what an airliner's soft edges are.
  raster::SpriteOp softSprite(SpriteHandle handle, int x, int y, int width, int height) {
    const SceneFit& fit = composer_->fit();
    BgraPicture picture{fit.scaledLength(width), fit.scaledLength(height), false, {}};
    for (int row = 0; row < picture.height; ++row) {
      for (int column = 0; column < picture.width; ++column) {
        const int step = (column + row) / 7 % 6;
        const std::uint32_t alpha = step == 0 ? 0 : step == 5 ? 255 : step * 50;
        const std::uint32_t red = alpha * ((row * 13) % 256) / 255;
        picture.pixels.push_back(alpha << 24 | red << 16 | (alpha / 2) << 8 | alpha / 3);
      }
    }
    pictures_[handle] = RunPicture(picture);
    return raster::SpriteOp{handle, 1, x, y, width, height, false, {}};
  }
  std::uint32_t at(int x, int y) const { return pixels_[y * target_.width + x]; }
  void composeAll(const raster::FrameOps& list) {
    composer_->compose(list, composer_->fit().content(), target_);
  }

  std::vector<std::uint32_t> pixels_;
  PixelTarget target_;
  MarkingText text_;
  std::map<SpriteHandle, RunPicture> pictures_;
  std::unique_ptr<SceneComposer> composer_;
};

TEST_F(SceneComposerTest, SpritesLandAtTheirScaledPlaceOverTheFill) {
  composeAll({raster::FillOp{0xFF0000}, sprite(1, 100, 50, 20, 10, kRed)});  // fill blue
  EXPECT_EQ(at(0, 0), kBlue);
  EXPECT_EQ(at(200, 100), kRed);
  EXPECT_EQ(at(239, 119), kRed);
  EXPECT_EQ(at(240, 100), kBlue);
  EXPECT_EQ(at(199, 100), kBlue);
}

TEST_F(SceneComposerTest, UncoveredPixelsAreBlackAndBarsAreLeftAlone) {
  resize(1920, 1080);
  composeAll({sprite(1, 0, 0, 10, 10, kRed)});
  EXPECT_EQ(at(240, 0), kRed);
  EXPECT_EQ(at(300, 300), kBlack);
  EXPECT_EQ(at(100, 500), 0x12345678u);
  EXPECT_EQ(at(1919, 1079), 0x12345678u);
}

TEST_F(SceneComposerTest, StripsOfAnyRectangleHoldWhatTheWholeTargetHoldsThere) {
  resize(1920, 1080);
  const raster::FrameOps list = {raster::FillOp{0x203040}, softSprite(1, 33, 41, 300, 90),
                                 softSprite(2, 250, 60, 200, 120),
                                 sprite(3, 100, 100, 40, 40, 0x80402010u)};
  composeAll(list);
  // Rectangles that cut runs anywhere, composed strip by strip into a small buffer of their own.
  for (const PixelRect& rect : {PixelRect{290, 70, 333, 117}, PixelRect{241, 75, 1, 300},
                                PixelRect{500, 150, 480, 9}, PixelRect{240, 0, 1440, 1080}}) {
    const int stripRows = 7;
    std::vector<std::uint32_t> strip(static_cast<std::size_t>(rect.width) * stripRows);
    for (int top = rect.y; top < rect.bottom(); top += stripRows) {
      std::fill(strip.begin(), strip.end(), 0x0BADBEEFu);
      const PixelTarget into{strip.data(), rect.width, stripRows, rect.width, rect.x, top};
      composer_->compose(list, rect, into);
      for (int y = top; y < std::min(top + stripRows, rect.bottom()); ++y)
        for (int x = rect.x; x < rect.right(); ++x)
          ASSERT_EQ(*into.at(x, y), at(x, y)) << x << ", " << y;
    }
  }
}

TEST_F(SceneComposerTest, TranslucentPixelsBlendOverWhatIsBelow) {
  // Half-covered premultiplied red over blue.
  composeAll({raster::FillOp{0xFF0000}, sprite(1, 0, 0, 10, 10, 0x80800000u)});
  const std::uint32_t pixel = at(5, 5);
  EXPECT_EQ(alphaOf(pixel), 255u);
  EXPECT_EQ((pixel >> 16) & 0xFF, 0x80u);
  EXPECT_NEAR(static_cast<int>(pixel & 0xFF), 127, 1);
  EXPECT_EQ((pixel >> 8) & 0xFF, 0u);
}

TEST_F(SceneComposerTest, ComposingARectangleGivesWhatAFullCompositionGives) {
  const raster::FrameOps before = {raster::FillOp{0}, sprite(1, 100, 100, 50, 20, 0x80008000u),
                                   raster::TextOp{"x", {}, 300, 300, 0, {300, 300, 40, 20}}};
  const raster::FrameOps after = {raster::FillOp{0}, sprite(1, 97, 101, 50, 20, 0x80008000u),
                                  raster::TextOp{"x", {}, 300, 300, 0, {300, 300, 40, 20}}};
  composeAll(before);
  for (const PixelRect& rect : raster::frameDamage(before, after))
    composer_->compose(after, composer_->fit().toTarget(rect), target_);
  const std::vector<std::uint32_t> incremental = pixels_;
  composeAll(after);
  EXPECT_EQ(incremental, pixels_);
}

TEST_F(SceneComposerTest, WhatAnOpaqueSpriteCoversIsNotPaintedAgain) {
  const raster::FrameOps list = {raster::FillOp{0},
                                 raster::TextOp{"x", {}, 0, 0, 0, {0, 0, 40, 20}},
                                 sprite(1, 0, 0, 100, 100, kRed)};
  composer_->compose(list, PixelRect{10, 10, 20, 20}, target_);
  EXPECT_EQ(text_.calls, 0);
  EXPECT_EQ(at(15, 15), kRed);
  composer_->compose(list, PixelRect{190, 190, 20, 20}, target_);  // beyond the sprite: below shows
  EXPECT_EQ(at(205, 205), kBlack);
}

TEST_F(SceneComposerTest, ASpriteWithoutAPictureOrOffTheSceneDrawsNothing) {
  composeAll({raster::FillOp{0}, raster::SpriteOp{9, 1, 10, 10, 50, 50, true, {}},
              sprite(2, -500, 700, 20, 20, kRed)});
  EXPECT_EQ(at(40, 40), kBlack);
}

}  // namespace
}  // namespace skyfare
