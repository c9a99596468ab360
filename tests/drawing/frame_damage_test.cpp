#include "drawing/frame_damage.h"

#include <gtest/gtest.h>

#include "drawing/offscreen_drawing_control.h"
#include "tests/support/picture_files.h"

namespace skyfare {
namespace {

const QRegion kWholeScene(0, 0, kSceneWidth, kSceneHeight);

bool covers(const QRegion& region, const QRect& rect) {
  return region.intersected(rect) == QRegion(rect);
}

// A scene like the saver's: a background picture, two aircraft, a message and a clock.
class FrameDamageTest : public ::testing::Test {
 protected:
  FrameDamageTest() {
    QImage sky(kSceneWidth, kSceneHeight, QImage::Format_RGB32);
    sky.fill(QColor(0, 120, 200));
    background_ = load("sky.bmp", sky, kOpaque);
    const QImage plane = testing::framedSquare({330, 100}, Qt::magenta, Qt::white, 20);
    planes_[0] = load("a.bmp", plane, kTransparentBackground);
    planes_[1] = load("b.bmp", plane, kTransparentBackground);
    drawing_.SetSpriteX(planes_[0], 100);
    drawing_.SetSpriteY(planes_[0], 100);
    drawing_.SetSpriteX(planes_[1], 300);
    drawing_.SetSpriteY(planes_[1], 400);
  }

  SpriteHandle load(const QString& name, const QImage& picture, int mode) {
    const SpriteHandle sprite = drawing_.CreateSprite();
    drawing_.LoadSpriteImage(sprite, 1, folder_.save(name, picture), mode);
    return sprite;
  }

  void compose() {
    drawing_.DrawSprite(background_);
    if (showMessage_) {
      drawing_.SetFont("DejaVu Sans", 20, 1, false, false, false);
      drawing_.DrawText(message_, 5, 570, 0xFFFF00);
    }
    for (SpriteHandle plane : planes_) {
      if (plane != hidden_)
        drawing_.DrawSprite(plane);
    }
    drawing_.SetFont("DejaVu Sans", 20, 1, false, false, false);
    drawing_.DrawText(clock_, 0, 0, 0x00FFFF);
    drawing_.Flip();
  }

  testing::PictureFolder folder_;
  OffscreenDrawingControl drawing_;
  SpriteHandle background_ = 0;
  SpriteHandle planes_[2] = {};
  SpriteHandle hidden_ = 0;
  bool showMessage_ = true;
  std::string message_ = "Welcome aboard";
  std::string clock_ = "12:00:00 AM";
};

TEST_F(FrameDamageTest, FirstFrameDamagesWhatItDraws) {
  compose();
  EXPECT_EQ(drawing_.lastDamage(), kWholeScene);
}

TEST_F(FrameDamageTest, UnchangedFrameDamagesNothingAndPaintsNothing) {
  compose();
  const QImage before = drawing_.lastFrame();
  compose();
  EXPECT_TRUE(drawing_.lastDamage().isEmpty());
  // Not even touched: the picture still shares its pixels with the copy.
  EXPECT_EQ(drawing_.lastFrame().constBits(), before.constBits());
}

// The planes' keyed border is 20 pixels wide, so only their middle (290 × 60 at 20, 20) can
// show: with a pixel of margin for smooth scaling and whole bands of 16 rows, columns 19 … 310
// of rows 16 … 95.
TEST_F(FrameDamageTest, SpriteMovedOnePixelDamagesWhereItShowsAtItsOldAndNewPlaces) {
  compose();
  drawing_.MoveSpriteX(planes_[0], 1);
  compose();
  EXPECT_EQ(drawing_.lastDamage(), QRegion(119, 116, 292, 80) + QRegion(120, 116, 292, 80));
  drawing_.MoveSpriteY(planes_[1], -1);
  compose();
  EXPECT_EQ(drawing_.lastDamage(), QRegion(319, 416, 292, 80) + QRegion(319, 415, 292, 80));
}

TEST_F(FrameDamageTest, SpriteThatLeavesTheSceneDamagesOnlyWhatWasVisible) {
  drawing_.SetSpriteX(planes_[0], 700);
  compose();
  drawing_.SetSpriteX(planes_[0], 900);
  compose();
  EXPECT_EQ(drawing_.lastDamage(), QRegion(719, 116, 81, 80));
}

TEST_F(FrameDamageTest, ChangedFillDamagesEverything) {
  drawing_.FillScreen(0);
  drawing_.Flip();
  drawing_.FillScreen(0xFBE200);
  drawing_.Flip();
  EXPECT_EQ(drawing_.lastDamage(), kWholeScene);
  drawing_.FillScreen(0xFBE200);
  drawing_.Flip();
  EXPECT_TRUE(drawing_.lastDamage().isEmpty());
}

TEST_F(FrameDamageTest, ChangedClockDamagesOnlyTheTopLeftCorner) {
  compose();
  clock_ = "12:00:01 AM";
  compose();
  const QRect damage = drawing_.lastDamage().boundingRect();
  EXPECT_EQ(damage.topLeft(), QPoint(0, 0));
  EXPECT_LT(damage.bottom(), 30);
  EXPECT_LT(damage.right(), 160);
}

TEST_F(FrameDamageTest, OpsThatShiftPlaceDamageBothOldAndNew) {
  compose();
  // Without the message every later op moves up one place, so all of them count as changed.
  showMessage_ = false;
  compose();
  const QRegion damage = drawing_.lastDamage();
  EXPECT_TRUE(covers(damage, QRect(5, 572, 100, 14)));
  EXPECT_TRUE(covers(damage, QRect(120, 120, 290, 60)));
  EXPECT_TRUE(covers(damage, QRect(320, 420, 290, 60)));
}

TEST_F(FrameDamageTest, HiddenSpriteDamagesItsRectangleAndWhatMovedUpAPlace) {
  compose();
  hidden_ = planes_[1];
  compose();
  const QRegion damage = drawing_.lastDamage();
  EXPECT_TRUE(covers(damage, QRect(320, 420, 290, 60)));
  EXPECT_TRUE(covers(damage, QRect(0, 0, 100, 20)));  // the clock took the sprite's place
  EXPECT_FALSE(damage.contains(QPoint(150, 150)));
}

TEST_F(FrameDamageTest, ReloadedPictureDamagesItsRectangleInPlace) {
  compose();
  QImage small(10, 10, QImage::Format_RGB32);
  small.fill(Qt::red);
  drawing_.LoadSpriteImage(planes_[0], 1, folder_.save("c.png", small), kOpaque);
  compose();
  EXPECT_EQ(drawing_.lastDamage(), QRegion(119, 116, 292, 80) + QRegion(100, 100, 10, 10));
}

}  // namespace
}  // namespace skyfare
