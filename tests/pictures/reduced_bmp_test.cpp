#include "pictures/reduced_bmp.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <zstd.h>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "assets/bmp_file.h"
#include "assets/framed_bmp.h"

namespace skyfare {
namespace {

// Pictures written by the generator's own writer, so both ends agree on the layout.
class ReducedBmpTest : public ::testing::Test {
 protected:
  std::string save(const QString& name, const QImage& picture) {
    const QString path = dir_.filePath(name);
    EXPECT_TRUE(assets::saveFramedBmp(picture, path));
    return path.toStdString();
  }
  std::string write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    return path.toStdString();
  }

  QTemporaryDir dir_;
};

QByteArray zstdFrame(const QByteArray& bytes) {
  QByteArray frame(static_cast<qsizetype>(ZSTD_compressBound(bytes.size())), '\0');
  frame.resize(static_cast<qsizetype>(
      ZSTD_compress(frame.data(), frame.size(), bytes.constData(), bytes.size(), 3)));
  return frame;
}

QByteArray fileBytes(const std::string& path) {
  QFile file(QString::fromStdString(path));
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

QImage row(std::initializer_list<QRgb> pixels, QImage::Format format) {
  QImage image(static_cast<int>(pixels.size()), 1, format);
  int x = 0;
  for (const QRgb pixel : pixels) image.setPixel(x++, 0, pixel);
  return image;
}

TEST_F(ReducedBmpTest, EachPixelIsTheAverageOverTheAreaItCovers) {
  // Three file pixels into two: the first takes one and a half, the second the rest.
  const std::string path =
      save("grey.bmp.zst",
           row({qRgb(0, 0, 0), qRgb(90, 90, 90), qRgb(180, 180, 180)}, QImage::Format_RGB32));
  const QImage reduced = readReducedBmp(path, QSize(3, 1), QSize(2, 1), false);
  ASSERT_EQ(reduced.format(), QImage::Format_RGB888);
  EXPECT_EQ(reduced.pixel(0, 0), qRgb(30, 30, 30));
  EXPECT_EQ(reduced.pixel(1, 0), qRgb(150, 150, 150));

  QImage square(4, 4, QImage::Format_RGB32);
  square.fill(qRgb(200, 100, 0));
  square.setPixel(0, 0, qRgb(0, 0, 0));
  const QImage quarter =
      readReducedBmp(save("square.bmp.zst", square), QSize(4, 4), QSize(2, 2), false);
  EXPECT_EQ(quarter.pixel(0, 0), qRgb(150, 75, 0));
  EXPECT_EQ(quarter.pixel(1, 1), qRgb(200, 100, 0));
}

// The exact area average of one channel over picture pixel (x, y), rounded to nearest.
int areaAverage(const QImage& file, QSize size, int x, int y, int (*channel)(QRgb)) {
  // Overlap of file pixel s with picture pixel t, in units where a file pixel is `picture`
  // long and a picture pixel `fileLength`.
  const auto overlap = [](int s, int t, int fileLength, int picture) -> std::int64_t {
    const std::int64_t start =
        std::max<std::int64_t>(std::int64_t{s} * picture, std::int64_t{t} * fileLength);
    const std::int64_t end =
        std::min<std::int64_t>(std::int64_t{s + 1} * picture, std::int64_t{t + 1} * fileLength);
    return std::max<std::int64_t>(0, end - start);
  };
  // Only the file pixels near (x, y) in scaled terms can overlap it.
  const auto near = [](int t, int fileLength, int picture) {
    return std::pair{std::max(0, t * fileLength / picture - 1),
                     std::min(fileLength, (t + 1) * fileLength / picture + 2)};
  };
  const auto [firstX, endX] = near(x, file.width(), size.width());
  const auto [firstY, endY] = near(y, file.height(), size.height());
  std::int64_t sum = 0;
  for (int fy = firstY; fy < endY; ++fy) {
    for (int fx = firstX; fx < endX; ++fx) {
      sum += channel(file.pixel(fx, fy)) * overlap(fx, x, file.width(), size.width()) *
             overlap(fy, y, file.height(), size.height());
    }
  }
  const std::int64_t area = std::int64_t{file.width()} * file.height();
  return static_cast<int>((2 * sum + area) / (2 * area));
}

TEST_F(ReducedBmpTest, ATallPictureMadeInPartsSideBySideIsTheExactAreaAverageEverywhere) {
  QImage noise(1000, 331, QImage::Format_RGB32);
  for (int y = 0; y < noise.height(); ++y) {
    for (int x = 0; x < noise.width(); ++x)
      noise.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * y) % 256, (y * 5) % 256));
  }
  const QSize size(700, 197);
  const QImage reduced = readReducedBmp(save("noise.bmp.zst", noise), noise.size(), size, false);
  ASSERT_EQ(reduced.size(), size);
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      const QRgb pixel = reduced.pixel(x, y);
      ASSERT_EQ(qRed(pixel), areaAverage(noise, size, x, y, qRed)) << x << ", " << y;
      ASSERT_EQ(qGreen(pixel), areaAverage(noise, size, x, y, qGreen)) << x << ", " << y;
      ASSERT_EQ(qBlue(pixel), areaAverage(noise, size, x, y, qBlue)) << x << ", " << y;
    }
  }
}

// Bands made side by side and handed over one at a time put together the picture made whole,
// and a taker that cannot keep a band fails the read.
TEST_F(ReducedBmpTest, BandsHandedOverMakeUpThePictureMadeWhole) {
  QImage gradient(999, 431, QImage::Format_ARGB32);
  for (int y = 0; y < gradient.height(); ++y) {
    for (int x = 0; x < gradient.width(); ++x)
      gradient.setPixel(x, y, qRgba((x * 7) % 256, (y * 3) % 256, (x + y) % 256, (x * y) % 256));
  }
  const QSize size(640, 300);
  constexpr int kRowsPerBand = 37;
  for (const bool withAlpha : {false, true}) {
    const QImage file = withAlpha ? gradient : gradient.convertToFormat(QImage::Format_RGB32);
    const std::string path = save(withAlpha ? "clear.bmp.zst" : "opaque.bmp.zst", file);
    const QImage whole = readReducedBmp(path, file.size(), size, withAlpha);
    ASSERT_FALSE(whole.isNull());
    QImage joined(size, whole.format());
    std::vector<std::atomic<int>> taken((size.height() + kRowsPerBand - 1) / kRowsPerBand);
    ASSERT_TRUE(readReducedBmpInBands(
        path, file.size(), size, withAlpha, kRowsPerBand, [&](int band, const QImage& rows) {
          ++taken[static_cast<std::size_t>(band)];
          for (int y = 0; y < rows.height(); ++y) {
            std::memcpy(joined.scanLine(band * kRowsPerBand + y), rows.constScanLine(y),
                        static_cast<std::size_t>(rows.bytesPerLine()));
          }
          return rows.height() == std::min(kRowsPerBand, size.height() - band * kRowsPerBand);
        }));
    EXPECT_EQ(joined, whole) << withAlpha;
    for (const auto& count : taken) EXPECT_EQ(count, 1);
    EXPECT_FALSE(readReducedBmpInBands(path, file.size(), size, withAlpha, kRowsPerBand,
                                       [](int band, const QImage&) { return band != 3; }));
    EXPECT_FALSE(readReducedBmpInBands(path, file.size() / 2, size / 2, withAlpha, kRowsPerBand,
                                       [](int, const QImage&) { return true; }));
  }
}

TEST_F(ReducedBmpTest, AtItsOwnSizeThePictureIsTheFileItself) {
  QImage picture(7, 5, QImage::Format_ARGB32);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 7; ++x) picture.setPixel(x, y, qRgba(x * 30, y * 50, 90, x * 40));
  }
  const std::string path = save("same.bmp.zst", picture);
  const QImage read = readReducedBmp(path, picture.size(), picture.size(), true);
  ASSERT_EQ(read.format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_EQ(read, picture.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

// An opaque red pixel beside a clear one averages to half-clear red, not to a darker red.
TEST_F(ReducedBmpTest, TransparentPixelsAddNoColourToAnEdge) {
  const std::string path =
      save("edge.bmp.zst", row({qRgba(255, 0, 0, 255), qRgba(0, 0, 0, 0)}, QImage::Format_ARGB32));
  const QImage edge = readReducedBmp(path, QSize(2, 1), QSize(1, 1), true);
  const QColor colour = edge.pixelColor(0, 0);
  EXPECT_EQ(colour.alpha(), 128);
  EXPECT_EQ(colour.red(), 255);
  EXPECT_EQ(colour.green(), 0);
}

TEST_F(ReducedBmpTest, AnythingButTheExpectedFileGivesNoPicture) {
  const QImage opaque(8, 4, QImage::Format_RGB32);
  QImage clear(8, 4, QImage::Format_ARGB32);
  clear.fill(qRgba(10, 20, 30, 100));
  const std::string opaquePath = save("opaque.bmp.zst", opaque);
  const std::string clearPath = save("clear.bmp.zst", clear);
  EXPECT_TRUE(readReducedBmp(opaquePath, QSize(8, 4), QSize(4, 2), false).width() == 4);
  EXPECT_TRUE(readReducedBmp(opaquePath, QSize(8, 4), QSize(4, 2), true).isNull());
  EXPECT_TRUE(readReducedBmp(clearPath, QSize(8, 4), QSize(4, 2), false).isNull());
  EXPECT_TRUE(readReducedBmp(opaquePath, QSize(16, 8), QSize(4, 2), false).isNull());
  EXPECT_TRUE(readReducedBmp(opaquePath, QSize(8, 4), QSize(9, 2), false).isNull());
  EXPECT_TRUE(readReducedBmp(opaquePath, QSize(8, 4), QSize(0, 2), false).isNull());
  EXPECT_TRUE(
      readReducedBmp(dir_.filePath("absent.bmp.zst").toStdString(), QSize(8, 4), QSize(4, 2), false)
          .isNull());
  ASSERT_EQ(mkfifo(qPrintable(dir_.filePath("fifo.bmp.zst")), 0600), 0);
  EXPECT_TRUE(
      readReducedBmp(dir_.filePath("fifo.bmp.zst").toStdString(), QSize(8, 4), QSize(4, 2), false)
          .isNull());

  const QByteArray bmp = assets::encodeBmp(opaque);
  EXPECT_TRUE(readReducedBmp(write("plain.bmp", bmp), QSize(8, 4), QSize(4, 2), false).isNull());
  // The pixels in one frame that stops a byte short of the last row.
  const QByteArray cutShort = zstdFrame(bmp.first(54)) + zstdFrame(bmp.sliced(54, bmp.size() - 55));
  EXPECT_TRUE(
      readReducedBmp(write("short.bmp.zst", cutShort), QSize(8, 4), QSize(4, 2), false).isNull());

  QByteArray framed = fileBytes(clearPath);
  EXPECT_TRUE(
      readReducedBmp(write("cut.bmp.zst", framed.chopped(5)), QSize(8, 4), QSize(4, 2), true)
          .isNull());
  // A changed byte in the last frame's data fails its checksum.
  framed[framed.size() - 8] = static_cast<char>(framed[framed.size() - 8] ^ 0x40);
  EXPECT_TRUE(
      readReducedBmp(write("flipped.bmp.zst", framed), QSize(8, 4), QSize(4, 2), true).isNull());
}

}  // namespace
}  // namespace skyfare
