#include "windows/drawing/sprite_table.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/windows/drawing/picture_files.h"

namespace skyfare {
namespace {

using testing::TempFolder;
using testing::WicFactory;

constexpr std::uint32_t kBlue = 0x0000FF;
constexpr std::uint32_t kRed = 0xFFFF0000u;

class SpriteTableTest : public ::testing::Test {
 protected:
  SpriteTableTest() : sprites_(factory_.get()) {}

  // A 10 × 6 blue airliner with its 2× picture in red beside it, `denseWidth` wide.
  SpriteHandle airlinerWithDense(int denseWidth, int denseHeight = 12) {
    testing::writeBmp(folder_.file("jet01.bmp"), 10, 6, kBlue);
    testing::writePng(*factory_, folder_.file("jet01@2x.png"), denseWidth, denseHeight,
                      std::vector<std::uint32_t>(denseWidth * denseHeight, kRed));
    const SpriteHandle sprite = sprites_.create();
    sprites_.load(sprite, folder_.file("jet01.bmp"), kOpaque);
    return sprite;
  }
  std::uint32_t centreAt(SpriteHandle handle, double scale) {
    const SpriteTable::Sprite& sprite = *sprites_.find(handle);
    const raster::SpriteOp op{handle,
                              sprite.pictureVersion,
                              0,
                              0,
                              sprite.picture.width(),
                              sprite.picture.height(),
                              sprite.picture.opaque(),
                              {}};
    const RunPicture* found = sprites_.scaled(op, scale);
    if (found == nullptr)
      return 0;
    const BgraPicture scaled = found->unpacked();
    EXPECT_EQ(scaled.width, static_cast<int>(std::lround(10 * scale)));
    return scaled.at(scaled.width / 2, scaled.height / 2);
  }

  WicFactory factory_;
  TempFolder folder_;
  SpriteTable sprites_;
};

TEST_F(SpriteTableTest, AnEnlargedMonitorDrawsTheDataFolderPictureFromItsDensity) {
  sprites_.setDensePictureFolder(folder_.folder());
  sprites_.addScale(1.0);
  sprites_.addScale(1.8);
  const SpriteHandle sprite = airlinerWithDense(20);
  EXPECT_EQ(centreAt(sprite, 1.0), 0xFF0000FFu);
  EXPECT_EQ(centreAt(sprite, 1.8), kRed);
  sprites_.addScale(2.4);  // a density 3 it does not have: the 1× picture, enlarged
  EXPECT_EQ(centreAt(sprite, 2.4), 0xFF0000FFu);
}

TEST_F(SpriteTableTest, ADensityFileOfAnotherSizeIsIgnored) {
  sprites_.setDensePictureFolder(folder_.folder());
  sprites_.addScale(1.8);
  EXPECT_EQ(centreAt(airlinerWithDense(22), 1.8), 0xFF0000FFu);
  EXPECT_EQ(centreAt(airlinerWithDense(20, 13), 1.8), 0xFF0000FFu);
}

TEST_F(SpriteTableTest, PicturesFromElsewhereHaveNoDensities) {
  sprites_.addScale(1.8);
  EXPECT_EQ(centreAt(airlinerWithDense(20), 1.8), 0xFF0000FFu);
}

TEST_F(SpriteTableTest, AnUnreadablePictureLeavesTheSpriteEmptyAndPlaced) {
  sprites_.addScale(1.8);
  const SpriteHandle sprite = sprites_.create();
  sprites_.find(sprite)->x = 805;
  sprites_.load(sprite, folder_.file("missing.bmp"), kTransparentBackground);
  EXPECT_TRUE(sprites_.find(sprite)->picture.isNull());
  EXPECT_EQ(sprites_.find(sprite)->x, 805);
  EXPECT_EQ(centreAt(sprite, 1.8), 0u);
  EXPECT_EQ(sprites_.find(0), nullptr);
  EXPECT_EQ(sprites_.find(sprite + 1), nullptr);
}

}  // namespace
}  // namespace skyfare
