#include <gtest/gtest.h>

#include "raster/frame_ops.h"

namespace skyfare {
namespace {

SpriteOp airliner(std::int32_t x, std::int32_t y) {
  return SpriteOp{3, 7, x, y, 100, 40, false};
}

int area(const PixelRects& rects) {
  int total = 0;
  for (const PixelRect& rect : rects) total += rect.width * rect.height;
  return total;
}

TEST(FrameDamageTest, AnUnchangedFrameDamagesNothing) {
  const FrameOps frame = {FillOp{0}, airliner(10, 10),
                          TextOp{"12:00", {}, 0, 0, 0, {0, 0, 50, 20}}};
  EXPECT_TRUE(frameDamage(frame, frame).empty());
}

TEST(FrameDamageTest, AMovedSpriteDamagesItsOldAndNewPlaceJoined) {
  const PixelRects damage =
      frameDamage({FillOp{0}, airliner(10, 10)}, {FillOp{0}, airliner(8, 11)});
  ASSERT_EQ(damage.size(), 1u);
  EXPECT_EQ(damage.front(), (PixelRect{8, 10, 102, 41}));
}

TEST(FrameDamageTest, FarApartChangesStayApartAndNeverOverlap) {
  const PixelRects damage = frameDamage({FillOp{0}, airliner(10, 10), airliner(500, 400)},
                                        {FillOp{0}, airliner(12, 10), airliner(498, 400)});
  ASSERT_EQ(damage.size(), 2u);
  EXPECT_FALSE(damage[0].intersects(damage[1]));
  EXPECT_EQ(area(damage), 2 * 102 * 40);
}

TEST(FrameDamageTest, CrossingAircraftAreNotJoinedIntoOneBoxOfSky) {
  const PixelRects damage = frameDamage({FillOp{0}, airliner(100, 100), airliner(150, 120)},
                                        {FillOp{0}, airliner(102, 100), airliner(148, 120)});
  EXPECT_EQ(damage.size(), 2u);
  EXPECT_EQ(area(damage), 2 * 102 * 40);
}

TEST(FrameDamageTest, ANewPictureOrColourDamagesItsBounds) {
  SpriteOp reloaded = airliner(10, 10);
  reloaded.pictureVersion = 8;
  EXPECT_EQ(frameDamage({airliner(10, 10)}, {reloaded}), (PixelRects{{10, 10, 100, 40}}));
  EXPECT_EQ(frameDamage({FillOp{0}}, {FillOp{1}}), (PixelRects{{0, 0, 800, 600}}));
}

TEST(FrameDamageTest, OpsOnlyOneFrameHasDamageTheirBounds) {
  EXPECT_EQ(frameDamage({FillOp{0}}, {FillOp{0}, airliner(-50, 590)}),
            (PixelRects{{0, 590, 50, 10}}));
  EXPECT_EQ(frameDamage({FillOp{0}, airliner(-50, 590)}, {FillOp{0}}),
            (PixelRects{{0, 590, 50, 10}}));
  // Wholly off the scene, where aircraft wait: nothing to repaint.
  EXPECT_TRUE(frameDamage({FillOp{0}}, {FillOp{0}, airliner(805, 200)}).empty());
}

TEST(FrameDamageTest, ExtremePlacesDoNotOverflow) {
  EXPECT_TRUE(sceneClipped(INT32_MAX, INT32_MAX, 100, 100).isEmpty());
  EXPECT_EQ(sceneClipped(INT32_MIN, 0, std::int64_t{INT32_MAX} * 2, 10),
            (PixelRect{0, 0, 800, 10}));
}

}  // namespace
}  // namespace skyfare
