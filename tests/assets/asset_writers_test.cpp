#include "assets/bmp_file.h"
#include "assets/wave_file.h"
#include "wave_reading.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace skyfare::assets {
namespace {

// Every width from 1 to 5 crosses the four-byte row padding of each pixel size.
constexpr int kWidthsPx[] = {1, 2, 3, 4, 5};
constexpr int kHeightPx = 3;

QRgb patternColour(int x, int y) {
  return qRgba(40 * x + 10, 60 * y + 5, 200 - 30 * x, 255 - 50 * ((x + y) % 6));
}

class AssetWriters : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return QDir(folder_.path()).filePath(name); }

 private:
  QTemporaryDir folder_;
};

TEST_F(AssetWriters, AlphaPicturesReadBackWithTheirStraightColourAndAlpha) {
  for (const int width : kWidthsPx) {
    QImage image(width, kHeightPx, QImage::Format_ARGB32);
    for (int y = 0; y < kHeightPx; ++y) {
      for (int x = 0; x < width; ++x) {
        image.setPixel(x, y, patternColour(x, y));
      }
    }
    image.setPixel(0, 0, qRgba(0, 0, 0, 0));
    const QString file = path(QStringLiteral("alpha%1.bmp").arg(width));
    ASSERT_TRUE(saveBmp(image, file));
    const QImage back = QImage(file).convertToFormat(QImage::Format_ARGB32);
    EXPECT_TRUE(back.hasAlphaChannel()) << width;
    EXPECT_EQ(back, image) << width;
  }
}

TEST_F(AssetWriters, OpaqueAndIndexedPicturesReadBackPixelForPixel) {
  for (const int width : kWidthsPx) {
    QImage opaque(width, kHeightPx, QImage::Format_RGB32);
    QImage indexed(width, kHeightPx, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < 256; ++i) {
      table.append(qRgb(i, 255 - i, (i * 7) % 256));
    }
    indexed.setColorTable(table);
    for (int y = 0; y < kHeightPx; ++y) {
      for (int x = 0; x < width; ++x) {
        opaque.setPixel(x, y, patternColour(x, y) | 0xFF000000);
        indexed.setPixel(x, y, static_cast<uint>((x * 37 + y * 101) % 256));
      }
    }
    const QString opaqueFile = path(QStringLiteral("rgb%1.bmp").arg(width));
    const QString indexedFile = path(QStringLiteral("indexed%1.bmp").arg(width));
    ASSERT_TRUE(saveBmp(opaque, opaqueFile));
    ASSERT_TRUE(saveBmp(indexed, indexedFile));
    const QImage opaqueBack(opaqueFile);
    EXPECT_FALSE(opaqueBack.hasAlphaChannel()) << width;
    EXPECT_EQ(opaqueBack.convertToFormat(QImage::Format_RGB32), opaque) << width;
    const QImage indexedBack(indexedFile);
    EXPECT_EQ(indexedBack.format(), QImage::Format_Indexed8) << width;
    EXPECT_EQ(indexedBack.colorCount(), 256) << width;
    EXPECT_EQ(indexedBack.convertToFormat(QImage::Format_RGB32),
              indexed.convertToFormat(QImage::Format_RGB32))
        << width;
  }
}

TEST_F(AssetWriters, UnwritablePlacesAndNullPicturesAreReportedAsFailures) {
  const QString missingFolder = path(QStringLiteral("no such folder/x"));
  QImage image(2, 2, QImage::Format_RGB32);
  image.fill(Qt::red);
  EXPECT_FALSE(saveBmp(image, missingFolder + QStringLiteral(".bmp")));
  EXPECT_FALSE(saveBmp(QImage(), path(QStringLiteral("null.bmp"))));
  EXPECT_FALSE(QFile::exists(path(QStringLiteral("null.bmp"))));
  EXPECT_FALSE(saveWave({1, 2, 3}, 22050, missingFolder + QStringLiteral(".wav")));
}

TEST_F(AssetWriters, WaveKeepsEverySampleAndItsFormat) {
  const std::vector<std::int16_t> samples{0, 1, -1, 32767, -32768, 1234, -4321};
  const QString file = path(QStringLiteral("s.wav"));
  ASSERT_TRUE(saveWave(samples, 44100, file));
  QFile in(file);
  ASSERT_TRUE(in.open(QIODevice::ReadOnly));
  const auto wave = testing::readPcmWave(in.readAll());
  ASSERT_TRUE(wave.has_value());
  EXPECT_EQ(wave->formatTag, 1);
  EXPECT_EQ(wave->channels, 1);
  EXPECT_EQ(wave->sampleRateHz, 44100);
  EXPECT_EQ(wave->bitsPerSample, 16);
  EXPECT_EQ(wave->samples, samples);
}

}  // namespace
}  // namespace skyfare::assets
