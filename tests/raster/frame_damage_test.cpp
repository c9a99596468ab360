#include <gtest/gtest.h>

#include "raster/frame_ops.h"
#include "raster/picture_coverage.h"

namespace skyfare {
namespace {

raster::SpriteOp airliner(std::int32_t x, std::int32_t y) {
  return raster::SpriteOp{3, 7, x, y, 100, 40, false, {}};
}

int area(const PixelRects& rects) {
  int total = 0;
  for (const PixelRect& rect : rects) total += rect.width * rect.height;
  return total;
}

TEST(FrameDamageTest, AnUnchangedFrameDamagesNothing) {
  const raster::FrameOps frame = {raster::FillOp{0}, airliner(10, 10),
                                  raster::TextOp{"12:00", {}, 0, 0, 0, {0, 0, 50, 20}}};
  EXPECT_TRUE(raster::frameDamage(frame, frame).empty());
}

TEST(FrameDamageTest, AMovedSpriteDamagesItsOldAndNewPlaceJoined) {
  const PixelRects damage = raster::frameDamage({raster::FillOp{0}, airliner(10, 10)},
                                                {raster::FillOp{0}, airliner(8, 11)});
  ASSERT_EQ(damage.size(), 1u);
  EXPECT_EQ(damage.front(), (PixelRect{8, 10, 102, 41}));
}

TEST(FrameDamageTest, FarApartChangesStayApartAndNeverOverlap) {
  const PixelRects damage =
      raster::frameDamage({raster::FillOp{0}, airliner(10, 10), airliner(500, 400)},
                          {raster::FillOp{0}, airliner(12, 10), airliner(498, 400)});
  ASSERT_EQ(damage.size(), 2u);
  EXPECT_FALSE(damage[0].intersects(damage[1]));
  EXPECT_EQ(area(damage), 2 * 102 * 40);
}

TEST(FrameDamageTest, CrossingAircraftAreNotJoinedIntoOneBoxOfSky) {
  const PixelRects damage =
      raster::frameDamage({raster::FillOp{0}, airliner(100, 100), airliner(150, 120)},
                          {raster::FillOp{0}, airliner(102, 100), airliner(148, 120)});
  EXPECT_EQ(damage.size(), 2u);
  EXPECT_EQ(area(damage), 2 * 102 * 40);
}

TEST(FrameDamageTest, ANewPictureOrColourDamagesItsBounds) {
  raster::SpriteOp reloaded = airliner(10, 10);
  reloaded.pictureVersion = 8;
  EXPECT_EQ(raster::frameDamage({airliner(10, 10)}, {reloaded}), (PixelRects{{10, 10, 100, 40}}));
  EXPECT_EQ(raster::frameDamage({raster::FillOp{0}}, {raster::FillOp{1}}),
            (PixelRects{{0, 0, 800, 600}}));
}

TEST(FrameDamageTest, OpsOnlyOneFrameHasDamageTheirBounds) {
  EXPECT_EQ(raster::frameDamage({raster::FillOp{0}}, {raster::FillOp{0}, airliner(-50, 590)}),
            (PixelRects{{0, 590, 50, 10}}));
  EXPECT_EQ(raster::frameDamage({raster::FillOp{0}, airliner(-50, 590)}, {raster::FillOp{0}}),
            (PixelRects{{0, 590, 50, 10}}));
  // Wholly off the scene, where aircraft wait: nothing to repaint.
  EXPECT_TRUE(
      raster::frameDamage({raster::FillOp{0}}, {raster::FillOp{0}, airliner(805, 200)}).empty());
}

// A picture clear but for a diagonal band, as an aircraft seen from the side is clear in its
// corners.
BgraPicture diagonal(int width, int height) {
  BgraPicture picture{width, height, false, {}};
  picture.pixels.assign(static_cast<std::size_t>(width) * height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = y; x < std::min(width, y + 10); ++x) picture.pixels[y * width + x] = 0xFFFFFFFFu;
  return picture;
}

TEST(PictureCoverageTest, CoversWhatCanShowBandByBand) {
  const PixelRects coverage = pictureCoverage(diagonal(100, 40));
  ASSERT_EQ(coverage.size(), 3u);  // bands of 16, 16 and 8 rows
  EXPECT_EQ(coverage[0], (PixelRect{0, 0, 27, 16}));
  EXPECT_EQ(coverage[1], (PixelRect{14, 16, 29, 16}));
  EXPECT_EQ(coverage[2], (PixelRect{30, 32, 20, 8}));
  BgraPicture opaque = diagonal(10, 10);
  opaque.opaque = true;
  EXPECT_EQ(pictureCoverage(opaque), (PixelRects{{0, 0, 10, 10}}));
  EXPECT_TRUE(pictureCoverage(BgraPicture{}).empty());
  BgraPicture clear = diagonal(10, 10);
  clear.pixels.assign(clear.pixels.size(), 0);
  EXPECT_TRUE(pictureCoverage(clear).empty());
}

TEST(FrameDamageTest, AMovedSpriteDamagesOnlyWhereItsPictureCanShow) {
  raster::SpriteOp before = airliner(10, 10);
  before.coverage = std::make_shared<const PixelRects>(pictureCoverage(diagonal(100, 40)));
  raster::SpriteOp after = before;
  after.x += 2;
  const PixelRects damage =
      raster::frameDamage({raster::FillOp{0}, before}, {raster::FillOp{0}, after});
  EXPECT_EQ(damage.size(), 3u);
  EXPECT_EQ(area(damage), (29 * 16) + (31 * 16) + (22 * 8));
  for (const PixelRect& rect : damage) EXPECT_TRUE((PixelRect{10, 10, 102, 40}).contains(rect));
}

TEST(FrameDamageTest, ExtremePlacesDoNotOverflow) {
  EXPECT_TRUE(sceneClipped(INT32_MAX, INT32_MAX, 100, 100).isEmpty());
  EXPECT_EQ(sceneClipped(INT32_MIN, 0, std::int64_t{INT32_MAX} * 2, 10),
            (PixelRect{0, 0, 800, 10}));
}

}  // namespace
}  // namespace skyfare
