#include "assets/bmp_file.h"
#include "assets/ico_file.h"
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

std::uint32_t le(const QByteArray& bytes, qsizetype at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i)
    value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

QImage patternSquare(int sizePx) {
  QImage image(sizePx, sizePx, QImage::Format_ARGB32);
  for (int y = 0; y < sizePx; ++y) {
    for (int x = 0; x < sizePx; ++x) image.setPixel(x, y, patternColour(x % 6, y % 5));
  }
  image.setPixel(0, 0, qRgba(0, 0, 0, 0));
  return image;
}

// Reads an icon's sizes back by the layout the system reads: the directory, then for each size
// a PNG or a double-height bitmap whose colour rows and mask rows run from the bottom up.
TEST_F(AssetWriters, IconSizesReadBackWithTheirPixelsAndTransparency) {
  const std::vector<QImage> sizes{patternSquare(16), patternSquare(33), patternSquare(256)};
  const QString file = path(QStringLiteral("app.ico"));
  ASSERT_TRUE(saveIco(sizes, file));
  QFile in(file);
  ASSERT_TRUE(in.open(QIODevice::ReadOnly));
  const QByteArray bytes = in.readAll();
  ASSERT_GE(bytes.size(), 6 + 16 * 3);
  EXPECT_EQ(le(bytes, 0, 2), 0U);
  EXPECT_EQ(le(bytes, 2, 2), 1U);
  ASSERT_EQ(le(bytes, 4, 2), 3U);
  std::uint32_t expectedOffset = 6 + 16 * 3;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const qsizetype entry = 6 + 16 * static_cast<qsizetype>(i);
    const int sizePx = sizes[i].width();
    EXPECT_EQ(le(bytes, entry, 1), sizePx == 256 ? 0U : static_cast<std::uint32_t>(sizePx));
    EXPECT_EQ(le(bytes, entry + 1, 1), le(bytes, entry, 1));
    EXPECT_EQ(le(bytes, entry + 6, 2), 32U);
    const std::uint32_t length = le(bytes, entry + 8, 4);
    const std::uint32_t offset = le(bytes, entry + 12, 4);
    EXPECT_EQ(offset, expectedOffset) << sizePx;
    ASSERT_LE(static_cast<qsizetype>(offset + length), bytes.size()) << sizePx;
    expectedOffset += length;
    const QByteArray image = bytes.mid(offset, length);
    if (sizePx == 256) {
      EXPECT_TRUE(image.startsWith("\x89PNG"));
      EXPECT_EQ(QImage::fromData(image, "PNG").convertToFormat(QImage::Format_ARGB32), sizes[i]);
      continue;
    }
    EXPECT_EQ(le(image, 4, 4), static_cast<std::uint32_t>(sizePx));
    EXPECT_EQ(le(image, 8, 4), static_cast<std::uint32_t>(sizePx) * 2);
    const std::uint32_t maskRow = (static_cast<std::uint32_t>(sizePx) + 31) / 32 * 4;
    ASSERT_EQ(image.size(), 40 + sizePx * sizePx * 4 + static_cast<qsizetype>(maskRow) * sizePx);
    for (int y = 0; y < sizePx; ++y) {
      for (int x = 0; x < sizePx; ++x) {
        const int row = sizePx - 1 - y;
        const QRgb colour = sizes[i].pixel(x, y);
        ASSERT_EQ(le(image, 40 + (row * sizePx + x) * 4, 4), colour)
            << sizePx << " " << x << "," << y;
        const qsizetype maskByte = 40 + sizePx * sizePx * 4 + row * maskRow + x / 8;
        const bool clear = (static_cast<std::uint8_t>(image[maskByte]) & (0x80 >> (x % 8))) != 0;
        ASSERT_EQ(clear, qAlpha(colour) == 0) << sizePx << " " << x << "," << y;
      }
    }
  }
  EXPECT_EQ(expectedOffset, static_cast<std::uint32_t>(bytes.size()));
}

TEST_F(AssetWriters, IconRefusesSizesItCannotHoldAndWritesNothing) {
  const QString file = path(QStringLiteral("bad.ico"));
  for (const QImage& bad :
       {QImage(), QImage(16, 8, QImage::Format_ARGB32), QImage(512, 512, QImage::Format_ARGB32)}) {
    const std::vector<QImage> sizes{patternSquare(16), bad};
    EXPECT_FALSE(saveIco(sizes, file));
    EXPECT_FALSE(QFile::exists(file));
  }
}

}  // namespace
}  // namespace skyfare::assets
