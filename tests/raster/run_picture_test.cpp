#include "raster/run_picture.h"

#include <gtest/gtest.h>

namespace skyfare {
namespace {

TEST(RunPicture, KeepsEveryPixelAndNoRunCrossesARow) {
  // Rows that end and begin in the same colour, a lone pixel, and a row of one run.
  BgraPicture picture{5, 3, false, {}};
  picture.pixels = {0,           0,           0x80102030u, 0xFF00FF00u, 0xFF00FF00u,  //
                    0xFF00FF00u, 0xFF00FF00u, 0xFF00FF00u, 0xFF00FF00u, 0xFF00FF00u,  //
                    0xFF00FF00u, 1,           2,           2,           0};
  const RunPicture runs(picture);
  ASSERT_EQ(runs.width(), 5);
  ASSERT_EQ(runs.height(), 3);
  EXPECT_FALSE(runs.opaque());
  EXPECT_EQ(runs.row(0).size(), 3u);
  EXPECT_EQ(runs.row(1).size(), 1u);
  EXPECT_EQ(runs.row(2).size(), 4u);
  const BgraPicture back = runs.unpacked();
  EXPECT_EQ(back.pixels, picture.pixels);
  EXPECT_EQ(back.width, 5);
  EXPECT_FALSE(back.opaque);
}

TEST(RunPicture, AFlatPictureTakesAFractionOfItsPixelsBytesAndAShortOneIsNull) {
  BgraPicture flat{1000, 400, true, {}};
  flat.pixels.assign(400000, 0xFF336699u);
  EXPECT_LT(RunPicture(flat).bytes(), 400000u * 4 / 100);
  EXPECT_TRUE(RunPicture(BgraPicture{10, 10, true, {}}).isNull());  // no pixels behind the size
  EXPECT_TRUE(RunPicture(BgraPicture{}).unpacked().isNull());
}

}  // namespace
}  // namespace skyfare
