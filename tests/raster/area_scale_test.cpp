#include "raster/area_scale.h"

#include <gtest/gtest.h>

namespace skyfare {
namespace {

BgraPicture filled(int width, int height, std::uint32_t pixel) {
  BgraPicture picture{width, height, alphaOf(pixel) == 255, {}};
  picture.pixels.assign(static_cast<std::size_t>(width) * height, pixel);
  return picture;
}

TEST(AreaScaleTest, ReducingAveragesTheAreaEachPixelCovers) {
  // Columns alternately white and black: halving gives an even grey everywhere.
  BgraPicture stripes = filled(8, 4, 0xFF000000u);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; x += 2) stripes.pixels[y * 8 + x] = 0xFFFFFFFFu;
  const BgraPicture half = scaledPicture(stripes, 4, 2);
  ASSERT_EQ(half.pixels.size(), 8u);
  for (const std::uint32_t pixel : half.pixels) {
    EXPECT_EQ(alphaOf(pixel), 255u);
    EXPECT_NEAR(static_cast<int>(pixel & 0xFF), 128, 1);
  }
}

TEST(AreaScaleTest, ReducesToTheExactSizeAskedForAnyRatio) {
  const BgraPicture source = filled(300, 120, 0xFF336699u);
  for (const auto& [width, height] : {std::pair{162, 65}, std::pair{100, 40}, std::pair{299, 1}}) {
    const BgraPicture scaled = scaledPicture(source, width, height);
    EXPECT_EQ(scaled.width, width);
    EXPECT_EQ(scaled.height, height);
    for (const std::uint32_t pixel : scaled.pixels) EXPECT_EQ(pixel, 0xFF336699u);
  }
}

TEST(AreaScaleTest, ReducingKeepsTheLightOfEveryRowWhereverItFalls) {
  // Rows of every grey: an area average loses no light, so each column of the reduced picture
  // holds the source column's light in proportion to the heights, within a rounding per pixel.
  BgraPicture rows = filled(5, 240, 0xFF000000u);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 5; ++x) rows.pixels[y * 5 + x] = 0xFF000000u | (y * 37 % 256);
  long sourceLight = 0;
  for (int y = 0; y < 240; ++y) sourceLight += rows.pixels[y * 5] & 0xFF;
  for (const int height : {216, 173, 120, 7}) {
    const BgraPicture reduced = scaledPicture(rows, 5, height);
    for (int x = 0; x < 5; ++x) {
      long light = 0;
      for (int y = 0; y < height; ++y) light += reduced.pixels[y * 5 + x] & 0xFF;
      EXPECT_NEAR(static_cast<double>(light), sourceLight * height / 240.0, height * 0.5) << height;
    }
  }
}

TEST(AreaScaleTest, ClearPixelsDoNotDarkenWhatTheyBorder) {
  // Half clear, half opaque red: the reduced edge pixel is half-covered red, not dark red.
  BgraPicture picture = filled(4, 1, 0);
  picture.opaque = false;
  picture.pixels[2] = picture.pixels[3] = 0xFFFF0000u;
  const BgraPicture one = scaledPicture(picture, 1, 1);
  const std::uint32_t pixel = one.pixels.front();
  EXPECT_NEAR(static_cast<int>(alphaOf(pixel)), 128, 1);
  EXPECT_EQ((pixel >> 16) & 0xFF, alphaOf(pixel));  // premultiplied full red
  EXPECT_EQ(pixel & 0xFFFF, 0u);
}

TEST(AreaScaleTest, EnlargingBlendsNeighboursAndKeepsTheEnds) {
  BgraPicture picture = filled(2, 1, 0xFF000000u);
  picture.pixels[1] = 0xFFFFFFFFu;
  const BgraPicture wide = scaledPicture(picture, 8, 1);
  EXPECT_EQ(wide.pixels.front(), 0xFF000000u);
  EXPECT_EQ(wide.pixels.back(), 0xFFFFFFFFu);
  for (std::size_t i = 1; i < wide.pixels.size(); ++i)
    EXPECT_GE(wide.pixels[i] & 0xFF, wide.pixels[i - 1] & 0xFF);
}

TEST(AreaScaleTest, NoSizeGivesNoPicture) {
  EXPECT_TRUE(scaledPicture(filled(4, 4, 0xFF000000u), 0, 3).isNull());
  EXPECT_TRUE(scaledPicture(BgraPicture{}, 3, 3).isNull());
}

}  // namespace
}  // namespace skyfare
