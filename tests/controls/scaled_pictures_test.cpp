#include "controls/scaled_pictures.h"

#include <gtest/gtest.h>

namespace skyfare {
namespace {

SpriteOp spriteOp(SpriteHandle sprite, std::uint64_t version) {
  QImage picture(100, 50, QImage::Format_RGB32);
  picture.fill(Qt::green);
  return SpriteOp{sprite, version, 0, 0, picture, QRegion(picture.rect()), {}};
}

TEST(ScaledPicturesTest, ScreensOfOneScaleShareOneCopyAndOtherScalesGetTheirOwn) {
  ScaledPictures pictures;
  const SpriteOp plane = spriteOp(1, 1);
  const SceneMapping left(QSize(1920, 1080));
  const SceneMapping right(QSize(1920, 1080));
  const SceneMapping small(QSize(1024, 768));
  const QImage& onLeft = pictures.scaled(plane, left);
  EXPECT_EQ(onLeft.size(), QSize(180, 90));
  EXPECT_EQ(&pictures.scaled(plane, right), &onLeft);
  EXPECT_EQ(pictures.scaled(plane, small).size(), QSize(128, 64));
}

TEST(ScaledPicturesTest, CopiesNotDrawnOrAtAScaleNoLongerUsedAreDropped) {
  ScaledPictures pictures;
  const SpriteOp staying = spriteOp(1, 1);
  const SpriteOp leaving = spriteOp(2, 2);
  const SceneMapping screen(QSize(1920, 1080));
  const SceneMapping gone(QSize(1024, 768));
  const QImage kept = pictures.scaled(staying, screen);
  const QImage dropped = pictures.scaled(leaving, screen);
  const QImage atGoneScale = pictures.scaled(staying, gone);

  pictures.keepOnly({staying}, {screen.scale()});

  // A copy still held proves nothing was scaled again; a dropped one is scaled anew.
  EXPECT_EQ(pictures.scaled(staying, screen).constBits(), kept.constBits());
  EXPECT_NE(pictures.scaled(leaving, screen).constBits(), dropped.constBits());
  EXPECT_NE(pictures.scaled(staying, gone).constBits(), atGoneScale.constBits());
}

TEST(ScaledPicturesTest, ReloadedPictureIsScaledAgainAndItsOldCopyDropped) {
  ScaledPictures pictures;
  const SceneMapping screen(QSize(1920, 1080));
  const QImage before = pictures.scaled(spriteOp(1, 1), screen);
  const SpriteOp reloaded = spriteOp(1, 2);
  pictures.keepOnly({reloaded}, {screen.scale()});
  EXPECT_NE(pictures.scaled(reloaded, screen).constBits(), before.constBits());
}

}  // namespace
}  // namespace skyfare
