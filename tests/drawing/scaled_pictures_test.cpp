#include "drawing/scaled_pictures.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <memory>
#include <random>

#include "assets/framed_bmp.h"
#include "drawing/scene_renderer.h"
#include "drawing/sprite_store.h"
#include "tests/support/picture_files.h"

namespace skyfare {
namespace {

using testing::filled;
using testing::PictureFolder;

constexpr QSize kPlaneSize(40, 20);

QImage noise(QSize size) {
  std::mt19937 random(7);
  QImage image(size, QImage::Format_RGB888);
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x)
      image.setPixel(x, y, qRgb(random() % 256, random() % 256, random() % 256));
  }
  return image;
}

QColor middleOf(const QImage& image) {
  return image.pixelColor(image.width() / 2, image.height() / 2);
}

// Sprites loaded as a drawing component loads them, each handed to the store of scaled
// pictures, and the ops that draw them.
class ScaledPicturesTest : public ::testing::Test {
 protected:
  SpriteOp load(const std::string& file, int mode = kOpaque) {
    const SpriteHandle sprite = sprites_.create();
    const QImage picture = sprites_.loadImage(sprite, file, mode);
    const SpriteStore::Sprite& loaded = *sprites_.find(sprite);
    pictures_.setSource(sprite, loaded.imageVersion, picture, loaded.denseSource);
    return SpriteOp{sprite,          loaded.imageVersion, 0, 0, loaded.image,
                    loaded.coverage, loaded.denseSource};
  }
  void useDenseFolder() {
    sprites_.setDensePictureFolder(QFileInfo(folder_.path("x")).absolutePath().toStdString());
  }
  void removeFiles(std::initializer_list<QString> names) {
    for (const QString& name : names) ASSERT_TRUE(QFile::remove(folder_.path(name)));
  }

  PictureFolder folder_;
  SpriteStore sprites_;
  ScaledPictures pictures_;
  const SceneMapping fullHd_{QSize(1920, 1080)};
  const SceneMapping ultraHd_{QSize(3840, 2160)};
  const SceneMapping scene_{QSize(800, 600)};
};

// Once prepared, a picture is drawn with its files gone: nothing is read while drawing.
TEST_F(ScaledPicturesTest, PicturesArePreparedWhenLoadedAndWhenAScaleComesIntoUse) {
  useDenseFolder();
  folder_.save("plane.bmp", filled(kPlaneSize, Qt::red));
  ASSERT_TRUE(
      assets::saveFramedBmp(filled(kPlaneSize * 2, Qt::blue), folder_.path("plane@2x.bmp.zst")));
  ASSERT_TRUE(
      assets::saveFramedBmp(filled(kPlaneSize * 4, Qt::green), folder_.path("plane@4x.bmp.zst")));
  pictures_.addScale(fullHd_);
  const SpriteOp plane = load(folder_.path("plane.bmp").toStdString());
  ASSERT_NE(plane.denseSource, nullptr);
  pictures_.addScale(ultraHd_);
  pictures_.addScale(scene_);
  removeFiles({"plane.bmp", "plane@2x.bmp.zst", "plane@4x.bmp.zst"});

  ::testing::internal::CaptureStderr();
  const QImage atFullHd = pictures_.scaled(plane, fullHd_);
  const QImage atUltraHd = pictures_.scaled(plane, ultraHd_);
  const QImage atScene = pictures_.scaled(plane, scene_);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(atFullHd.size(), QSize(72, 36));
  EXPECT_EQ(middleOf(atFullHd), QColor(Qt::blue));
  EXPECT_EQ(atUltraHd.size(), QSize(144, 72));
  EXPECT_EQ(middleOf(atUltraHd), QColor(Qt::green));
  EXPECT_EQ(atScene, filled(kPlaneSize, Qt::red).convertToFormat(QImage::Format_RGB888));
}

TEST_F(ScaledPicturesTest, ScreensOfOneScaleShareOneCopyAndOtherScalesGetTheirOwn) {
  const SceneMapping otherFullHd(QSize(2160, 1080));
  pictures_.addScale(fullHd_);
  pictures_.addScale(otherFullHd);
  const SpriteOp plane = load(folder_.save("plane.png", filled(QSize(100, 50), Qt::green)));
  const QImage& onOne = pictures_.scaled(plane, fullHd_);
  EXPECT_EQ(onOne.size(), QSize(180, 90));
  EXPECT_EQ(&pictures_.scaled(plane, otherFullHd), &onOne);
  EXPECT_EQ(pictures_.scaled(plane, SceneMapping(QSize(1024, 768))).size(), QSize(128, 64));
}

// A picture that packs is let go of when no frame draws it and comes back exactly as it was;
// one that hardly packs is kept as it is.
TEST_F(ScaledPicturesTest, UndrawnPicturesAreLetGoOfAndComeBackUnchanged) {
  pictures_.addScale(ultraHd_);
  const SpriteOp flat =
      load(folder_.save("flat.bmp", testing::framedSquare({120, 40}, Qt::magenta, Qt::yellow, 9)),
           kTransparentBackground);
  const SpriteOp photo = load(folder_.save("photo.bmp", noise({120, 40})));
  const QImage flatBefore = pictures_.scaled(flat, ultraHd_).copy();
  const qint64 flatPixels = pictures_.scaled(flat, ultraHd_).cacheKey();
  const qint64 photoPixels = pictures_.scaled(photo, ultraHd_).cacheKey();

  pictures_.letGoOfUndrawn({photo});
  EXPECT_EQ(pictures_.scaled(photo, ultraHd_).cacheKey(), photoPixels);
  const QImage& flatAfter = pictures_.scaled(flat, ultraHd_);
  EXPECT_NE(flatAfter.cacheKey(), flatPixels) << "not let go of";
  EXPECT_EQ(flatAfter, flatBefore);
  EXPECT_EQ(flatAfter.format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_EQ(flatAfter.size(), QSize(432, 144));

  pictures_.letGoOfUndrawn({});
  EXPECT_EQ(pictures_.scaled(photo, ultraHd_).cacheKey(), photoPixels);
}

// A background reduced from its denser file, painted once a few rows at a time, is painted
// exactly as from the whole picture, and painting it so never unpacks it whole.
TEST(ScaledPicturesRowsTest, PaintingRowsOfAPackedBackgroundMatchesPaintingItWhole) {
  PictureFolder folder;
  QImage dense(800, 600, QImage::Format_RGB32);
  for (int y = 0; y < dense.height(); ++y) {
    for (int x = 0; x < dense.width(); ++x)
      dense.setPixel(x, y, qRgb((y / 3) % 256, (y * 7) % 256, x < 400 ? 40 : 200));
  }
  folder.save("sky.bmp", dense.scaled(200, 150));
  ASSERT_TRUE(assets::saveFramedBmp(dense, folder.path("sky@4x.bmp.zst")));
  SpriteStore sprites;
  sprites.setDensePictureFolder(QFileInfo(folder.path("x")).absolutePath().toStdString());
  const auto pictures = std::make_shared<ScaledPictures>();
  SceneRenderer renderer(QSize(3840, 2160), pictures);
  const SpriteHandle sprite = sprites.create();
  const QImage picture = sprites.loadImage(sprite, folder.path("sky.bmp").toStdString(), kOpaque);
  const SpriteStore::Sprite& loaded = *sprites.find(sprite);
  ASSERT_NE(loaded.denseSource, nullptr);
  pictures->setSource(sprite, loaded.imageVersion, picture, loaded.denseSource);
  const SpriteOp sky{sprite,          loaded.imageVersion, 0, 0, loaded.image,
                     loaded.coverage, loaded.denseSource};

  // Rows across the picture's bands, and a part it does not cover.
  const QRegion region =
      QRegion(500, 95, 600, 200) + QRegion(900, 240, 290, 290) + QRegion(2000, 1000, 100, 100);
  const auto paint = [&](SceneRenderer::Unpacking unpacking) {
    QImage frame(3840, 2160, QImage::Format_RGB32);
    frame.fill(Qt::white);
    QPainter painter(&frame);
    renderer.render(painter, {sky}, region, unpacking);
    return frame;
  };
  const QImage byRows = paint(SceneRenderer::Unpacking::RowsPainted);
  int topRow = 0;
  const QImage& held = pictures->scaledRows(sky, renderer.mapping(), 0, 1, topRow);
  EXPECT_LT(held.height(), 2160 / 4) << "unpacked whole";
  const QImage whole = paint(SceneRenderer::Unpacking::Whole);
  EXPECT_EQ(byRows, whole);
  EXPECT_EQ(whole.pixelColor(510, 100).blue(), 40);
  EXPECT_EQ(whole.pixelColor(1150, 300).blue(), 200);
  EXPECT_EQ(whole.pixelColor(2050, 1050), QColor(Qt::black));
  EXPECT_EQ(whole.pixelColor(100, 100), QColor(Qt::white)) << "painted outside the region";
}

// A sprite that loads a new picture replaces its prepared one; an op recorded before the
// reload still draws the picture it was recorded with.
TEST_F(ScaledPicturesTest, AReloadedPictureReplacesTheOldOneAndOldOpsKeepTheirs) {
  pictures_.addScale(fullHd_);
  const std::string file = folder_.save("plane.png", filled(kPlaneSize, Qt::red));
  const SpriteOp before = load(file);
  folder_.save("plane.png", filled(kPlaneSize, Qt::blue));
  const QImage blue = filled(kPlaneSize, Qt::blue).convertToFormat(QImage::Format_RGB888);
  pictures_.setSource(before.sprite, before.imageVersion + 100, blue, nullptr);
  SpriteOp after = before;
  after.imageVersion += 100;
  after.image = blue;
  EXPECT_EQ(middleOf(pictures_.scaled(after, fullHd_)), QColor(Qt::blue));
  EXPECT_EQ(middleOf(pictures_.scaled(before, fullHd_)), QColor(Qt::red));
  EXPECT_EQ(middleOf(pictures_.scaled(after, fullHd_)), QColor(Qt::blue));
}

}  // namespace
}  // namespace skyfare
