#include "raster/picture_keying.h"

#include <gtest/gtest.h>

#include "core/controls/drawing_control.h"

namespace skyfare {
namespace {

BgraPicture straight(std::vector<std::uint32_t> pixels) {
  const int width = static_cast<int>(pixels.size());
  return BgraPicture{width, 1, false, std::move(pixels)};
}

TEST(PictureKeyingTest, OpaqueModeDrawsEveryPixelWhateverItsAlpha) {
  const BgraPicture picture = keyedForMode(straight({0x00123456u, 0x80FFFFFFu}), kOpaque);
  EXPECT_TRUE(picture.opaque);
  EXPECT_EQ(picture.pixels, (std::vector<std::uint32_t>{0xFF123456u, 0xFFFFFFFFu}));
}

TEST(PictureKeyingTest, WithoutARealAlphaChannelTheTopLeftColourIsClear) {
  // All opaque, and all zero alpha (a writer that left the byte empty): both are keyed.
  for (const std::uint32_t alpha : {0xFF000000u, 0x00000000u}) {
    const BgraPicture picture =
        keyedForMode(straight({alpha | 0x00FF00u, alpha | 0x0000FFu, alpha | 0x00FF00u}),
                     kTransparentBackground);
    EXPECT_FALSE(picture.opaque);
    EXPECT_EQ(picture.pixels, (std::vector<std::uint32_t>{0, 0xFF0000FFu, 0}));
  }
}

TEST(PictureKeyingTest, ARealAlphaChannelIsKeptAndPremultiplied) {
  const BgraPicture picture =
      keyedForMode(straight({0x00FFFFFFu, 0x80FF0000u, 0xFF00FF00u}), kTransparentBackground);
  EXPECT_FALSE(picture.opaque);
  EXPECT_EQ(picture.pixels, (std::vector<std::uint32_t>{0x00000000u, 0x80800000u, 0xFF00FF00u}));
}

}  // namespace
}  // namespace skyfare
