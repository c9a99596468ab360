#include "pictures/density_variant.h"

#include <gtest/gtest.h>

#include <QFileInfo>

#include "assets/framed_bmp.h"
#include "drawing/offscreen_drawing_control.h"
#include "drawing/sprite_store.h"
#include "raster/density_choice.h"
#include "tests/support/picture_files.h"

namespace skyfare {
namespace {

using testing::filled;
using testing::PictureFolder;

constexpr QSize kPlaneSize(40, 20);

// A density file as the generator writes it.
void saveDense(const PictureFolder& folder, const QString& name, const QImage& image) {
  EXPECT_TRUE(assets::saveFramedBmp(image, folder.path(name)));
}

QColor middleOf(const QImage& image) {
  return image.pixelColor(image.width() / 2, image.height() / 2);
}

// A 1× red picture in the dense folder with a blue 2× and a green 4× file beside it, a 2× file
// of the wrong size for another, and the same red and blue pair in a folder of the user's.
class DensityVariantTest : public ::testing::Test {
 protected:
  void SetUp() override {
    plane_ = dense_.save("plane.bmp", filled(kPlaneSize, Qt::red));
    saveDense(dense_, "plane@2x.bmp.zst", filled(kPlaneSize * 2, Qt::blue));
    saveDense(dense_, "plane@4x.bmp.zst", filled(kPlaneSize * 4, Qt::green));
    odd_ = dense_.save("odd.bmp", filled(kPlaneSize, Qt::red));
    saveDense(dense_, "odd@2x.bmp.zst", filled(kPlaneSize * 3, Qt::blue));
    garbled_ = dense_.save("garbled.bmp", filled(kPlaneSize, Qt::red));
    dense_.write("garbled@2x.bmp.zst", QByteArray("BM not a picture"));
    users_ = user_.save("plane.bmp", filled(kPlaneSize, Qt::red));
    saveDense(user_, "plane@2x.bmp.zst", filled(kPlaneSize * 2, Qt::blue));
    store_.setDensePictureFolder(
        QFileInfo(QString::fromStdString(plane_)).absolutePath().toStdString());
  }

  const SpriteStore::Sprite& load(const std::string& file) {
    const SpriteHandle sprite = store_.create();
    store_.loadImage(sprite, file, kOpaque);
    return *store_.find(sprite);
  }

  QImage onScreen(const std::string& file, double scale) {
    const SpriteStore::Sprite& sprite = load(file);
    const QSize size(static_cast<int>(std::lround(kPlaneSize.width() * scale)),
                     static_cast<int>(std::lround(kPlaneSize.height() * scale)));
    return pictureForScreen(sprite.image, sprite.denseSource.get(), scale, size);
  }

  PictureFolder dense_;
  PictureFolder user_;
  std::string plane_;
  std::string odd_;
  std::string garbled_;
  std::string users_;
  SpriteStore store_;
};

TEST(DensityForScale, IsTheSmallestDensityThatCoversTheScale) {
  struct Row {
    double scale;
    int density;
  };
  for (const Row row : {Row{0.5, 0}, Row{1.0, 0}, Row{1.01, 2}, Row{1.8, 2}, Row{2.0, 2},
                        Row{2.4, 3}, Row{3.0, 3}, Row{3.6, 4}, Row{4.0, 4}, Row{4.8, 4}}) {
    EXPECT_EQ(densityForScale(row.scale), row.density) << row.scale;
  }
}

TEST_F(DensityVariantTest, PicturesOfTheDenseFolderAreReducedFromTheDensityTheScaleCalls) {
  const QImage at18 = onScreen(plane_, 1.8);
  EXPECT_EQ(at18.size(), QSize(72, 36));
  EXPECT_EQ(middleOf(at18), QColor(Qt::blue));
  const QImage at2 = onScreen(plane_, 2.0);
  EXPECT_EQ(at2.size(), kPlaneSize * 2);
  EXPECT_EQ(at2.pixelColor(0, 0), QColor(Qt::blue));
  EXPECT_DOUBLE_EQ(at2.devicePixelRatio(), 1.0);
  const QImage at36 = onScreen(plane_, 3.6);
  EXPECT_EQ(at36.size(), QSize(144, 72));
  EXPECT_EQ(middleOf(at36), QColor(Qt::green));
  EXPECT_EQ(at36.format(), QImage::Format_RGB888);
  const QImage at5 = onScreen(plane_, 5.0);
  EXPECT_EQ(at5.size(), kPlaneSize * 5);
  EXPECT_EQ(middleOf(at5), QColor(Qt::green));
}

TEST_F(DensityVariantTest, PicturesFromElsewhereAndScalesUpToOneUseTheirOneFile) {
  EXPECT_EQ(load(users_).denseSource, nullptr);
  EXPECT_EQ(middleOf(onScreen(users_, 2.0)), QColor(Qt::red));
  EXPECT_EQ(middleOf(onScreen(plane_, 1.0)), QColor(Qt::red));
  EXPECT_EQ(middleOf(onScreen(plane_, 0.75)), QColor(Qt::red));
}

// A picture of the dense folder holds no 1× pixels after loading; a screen at the scene's size
// reads the 1× file again, and one that no longer holds that picture draws nothing and says so.
TEST_F(DensityVariantTest, PicturesOfTheDenseFolderLetGoOfTheir1xPixels) {
  const SpriteStore::Sprite& plane = load(plane_);
  EXPECT_TRUE(plane.image.isNull());
  ASSERT_NE(plane.denseSource, nullptr);
  EXPECT_EQ(plane.denseSource->size, kPlaneSize);
  EXPECT_TRUE(plane.denseSource->opaque);
  const QImage atOne = pictureForScreen({}, plane.denseSource.get(), 1.0, kPlaneSize);
  EXPECT_EQ(atOne.size(), kPlaneSize);
  EXPECT_EQ(middleOf(atOne), QColor(Qt::red));

  dense_.save("plane.bmp", filled(kPlaneSize * 3, Qt::red));
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(pictureForScreen({}, plane.denseSource.get(), 1.0, kPlaneSize).isNull());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "skyfare: cannot read picture " + plane_ + ": it changed since it was loaded\n");
}

TEST_F(DensityVariantTest, AMissingWrongOrUnreadableDensityFallsBackToThe1xFileSilently) {
  ::testing::internal::CaptureStderr();
  const QImage noThree = onScreen(plane_, 2.4);
  const QImage wrongSize = onScreen(odd_, 2.0);
  const QImage unreadable = onScreen(garbled_, 2.0);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(noThree.size(), QSize(96, 48));
  EXPECT_EQ(middleOf(noThree), QColor(Qt::red));
  EXPECT_EQ(middleOf(wrongSize), QColor(Qt::red));
  EXPECT_EQ(middleOf(unreadable), QColor(Qt::red));
}

TEST_F(DensityVariantTest, AMissing1xFileStaysAnEmptySpriteWhateverItsDensities) {
  saveDense(dense_, "ghost@2x.bmp.zst", filled(kPlaneSize * 2, Qt::blue));
  ::testing::internal::CaptureStderr();
  const SpriteStore::Sprite& ghost =
      load(QFileInfo(QString::fromStdString(plane_)).absolutePath().toStdString() + "/ghost.bmp");
  EXPECT_NE(::testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(ghost.image.isNull());
  EXPECT_EQ(ghost.denseSource, nullptr);
}

// The scene at its own size is drawn from the 1× files alone, exactly as without the denser ones.
TEST_F(DensityVariantTest, OffscreenFramesAreTheSameWithOrWithoutDenseFiles) {
  OffscreenDrawingControl plain;
  OffscreenDrawingControl dense;
  dense.setDensePictureFolder(
      QFileInfo(QString::fromStdString(plane_)).absolutePath().toStdString());
  const std::string framed =
      dense_.save("framed.bmp", testing::framedSquare(kPlaneSize, Qt::white, Qt::red, 4));
  saveDense(dense_, "framed@2x.bmp.zst", filled(kPlaneSize * 2, Qt::blue));
  for (OffscreenDrawingControl* drawing : {&plain, &dense}) {
    const SpriteHandle sprite = drawing->CreateSprite();
    drawing->LoadSpriteImage(sprite, 1, framed, kTransparentBackground);
    drawing->SetSpriteX(sprite, 100);
    drawing->SetSpriteY(sprite, 50);
    drawing->FillScreen(0xFBE200);
    drawing->DrawSprite(sprite);
    drawing->Flip();
  }
  EXPECT_EQ(plain.lastFrame(), dense.lastFrame());
  EXPECT_EQ(dense.lastFrame().pixelColor(120, 60), QColor(Qt::red));
  EXPECT_EQ(dense.lastFrame().pixelColor(101, 51), QColor(0, 226, 251));
}

}  // namespace
}  // namespace skyfare
