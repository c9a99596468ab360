#include "pictures/picture_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QtEndian>

#include "pictures/png_chunks.h"
#include "tests/support/picture_files.h"

namespace skyfare {
namespace {

using testing::PictureFolder;

constexpr QSize kShown(800, 600);

// A BMP of the declared size whose data ends at once: a kilobyte that decodes to width × height
// pixels.
QByteArray declaredBmp(int width, int height, int bitsPerPixel, quint32 compression) {
  const int paletteEntries = bitsPerPixel <= 8 ? 1 << bitsPerPixel : 0;
  const QByteArray data("\x00\x01", 2);
  const quint32 offset = 14 + 40 + 4 * paletteEntries;
  QByteArray bytes(static_cast<qsizetype>(offset), '\0');
  auto put16 = [&](int at, quint16 v) { qToLittleEndian(v, bytes.data() + at); };
  auto put32 = [&](int at, quint32 v) { qToLittleEndian(v, bytes.data() + at); };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, offset + static_cast<quint32>(data.size()));
  put32(10, offset);
  put32(14, 40);
  put32(18, static_cast<quint32>(width));
  put32(22, static_cast<quint32>(height));
  put16(26, 1);
  put16(28, static_cast<quint16>(bitsPerPixel));
  put32(30, compression);
  put32(34, static_cast<quint32>(data.size()));
  put32(46, static_cast<quint32>(paletteEntries));
  // One colour under every index: Qt leaves the pixels such a file never sets as it found them.
  for (int entry = 0; entry < paletteEntries; ++entry) {
    bytes[54 + 4 * entry] = 60;
    bytes[55 + 4 * entry] = 120;
    bytes[56 + 4 * entry] = static_cast<char>(180);
  }
  return bytes + data;
}

TEST(ReadPicture, ReadsOnlyTheTopLeftPartThatCanBeShown) {
  PictureFolder folder;
  QImage wide(1000, 300, QImage::Format_RGB32);
  wide.fill(Qt::red);
  wide.setPixel(799, 0, qRgb(0, 0, 255));
  const PictureRead read = readPicture(folder.save("wide.png", wide), kShown);
  ASSERT_EQ(read.image.size(), QSize(800, 300));
  EXPECT_EQ(read.image.pixel(799, 0), qRgb(0, 0, 255));
  // JPEG decodes just the part itself.
  EXPECT_EQ(readPicture(folder.save("wide.jpg", wide), kShown).image.size(), QSize(800, 300));

  QImage small(40, 30, QImage::Format_RGB32);
  small.fill(Qt::green);
  EXPECT_EQ(readPicture(folder.save("small.bmp", small), kShown).image.size(), QSize(40, 30));
}

bool anImagePluginIsLoaded() {
  QFile maps(QStringLiteral("/proc/self/maps"));
  return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("/imageformats/");
}

// A PNG of two pixels, red and blue.
constexpr char kTwoPixelPng[] =
    "\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x00\x02\x00\x00\x00\x01\x08\x02\x00"
    "\x00\x00\x7b\x40\xe8\xdd\x00\x00\x00\x0dIDAT\x78\x9c\x63\xf8\xcf\x00\x04\xff\x01\x07"
    "\x00\x01\xff\xe2\x23\x9e\x59\x00\x00\x00\x00IEND\xae\x42\x60\x82";

// Told from their first bytes, not their names: the program's own pictures (BMP) and PNGs need
// no image plugin, and a JPEG loads its own only, whatever the file is called.
TEST(ReadPicture, AFormatIsToldFromTheFirstBytesAndLoadsNoOtherImagePlugin) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  PictureFolder folder;
  // Written byte by byte, as Qt's picture writers load every image plugin.
  const std::string bmp = folder.write("sky.bmp", declaredBmp(40, 30, 24, 0));
  const std::string png =
      folder.write("png-named.bmp", QByteArray(kTwoPixelPng, sizeof kTwoPixelPng - 1));
  EXPECT_EXIT(
      {
        const bool read = readPicture(bmp, kShown).image.size() == QSize(40, 30) &&
                          readPicture(png, kShown).image.pixel(1, 0) == qRgb(0, 0, 255);
        std::exit(read && !anImagePluginIsLoaded() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
  QImage picture(40, 30, QImage::Format_RGB32);
  picture.fill(Qt::green);
  const std::string jpeg = folder.save("jpeg-named.png", picture, "JPEG");
  EXPECT_EQ(readPicture(jpeg, kShown).image.size(), picture.size());
}

TEST(ReadPicture, ATinyFileDeclaringHugePicturesCostsNoMoreThanTheShownPart) {
  PictureFolder folder;
  const PictureRead rle =
      readPicture(folder.write("rle.bmp", declaredBmp(5790, 5790, 8, 1)), kShown);
  ASSERT_EQ(rle.image.size(), kShown);
  EXPECT_EQ(rle.image.pixel(0, 0), qRgb(180, 120, 60));

  // Whole, this one would take 32 bits a pixel: 134 MB for one kilobyte of file.
  const PictureRead deep =
      readPicture(folder.write("deep.bmp", declaredBmp(5790, 5790, 32, 0)), kShown);
  EXPECT_TRUE(deep.image.isNull());
  EXPECT_NE(deep.problem.find("too large"), std::string::npos) << deep.problem;
}

TEST(ReadPicture, ABaselineJpegIsReadInPartAndAProgressiveOneOnlyWithinTheWholeDecodeLimit) {
  PictureFolder folder;
  // 46 MB decoded whole: more than a whole decode may take, less than a partial one.
  QImage large(3400, 3400, QImage::Format_RGB32);
  large.fill(Qt::darkCyan);
  const auto saveJpeg = [&](const QString& name, bool progressive) {
    const std::string path = folder.missing() + name.toStdString();
    QImageWriter writer(QString::fromStdString(path), "jpeg");
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(large));
    return path;
  };
  EXPECT_EQ(readPicture(saveJpeg("baseline.jpg", false), kShown).image.size(), kShown);
  const PictureRead progressive = readPicture(saveJpeg("progressive.jpg", true), kShown);
  EXPECT_TRUE(progressive.image.isNull());
  EXPECT_NE(progressive.problem.find("too large"), std::string::npos) << progressive.problem;
}

quint32 pngCrc(const QByteArray& bytes) {
  quint32 crc = 0xFFFFFFFF;
  for (const char byte : bytes) {
    crc ^= static_cast<unsigned char>(byte);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0U - (crc & 1U)));
  }
  return ~crc;
}

// A PNG with one more chunk before its end: `declared` bytes long, holding `held` of them.
QByteArray pngWithChunk(const char* type, quint32 declared, qsizetype held) {
  QImage picture(8, 8, QImage::Format_RGB32);
  picture.fill(Qt::yellow);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "png");
  QByteArray chunk(8, '\0');
  qToBigEndian(declared, chunk.data());
  chunk.replace(4, 4, type);
  chunk += QByteArray(held, 't');
  QByteArray crc(4, '\0');
  qToBigEndian(pngCrc(chunk.mid(4)), crc.data());
  chunk += crc;
  return png.insert(png.size() - 12, chunk);
}

TEST(ReadPicture, APngChunkClaimingMoreThanTheFileOrAPictureNeedsIsRefusedBeforeDecoding) {
  PictureFolder folder;
  EXPECT_EQ(readPicture(folder.write("text.png", pngWithChunk("tEXt", 9, 9)), kShown).image.size(),
            QSize(8, 8));
  // The decoder would allocate the 2 GB the chunk claims before finding the file short.
  const PictureRead pastEnd =
      readPicture(folder.write("past.png", pngWithChunk("zTXt", 0x78000000, 3)), kShown);
  EXPECT_TRUE(pastEnd.image.isNull());
  EXPECT_EQ(pastEnd.problem, "a damaged PNG (a part runs past the end of the file)");
  const auto large = static_cast<quint32>(kLargestPngSideChunkBytes + 1);
  const PictureRead oversized =
      readPicture(folder.write("large.png", pngWithChunk("tEXt", large, large)), kShown);
  EXPECT_TRUE(oversized.image.isNull());
  EXPECT_NE(oversized.problem.find("too large"), std::string::npos) << oversized.problem;
}

TEST(ReadPicture, RefusesWhatIsNotARegularFileWithoutWaiting) {
  PictureFolder folder;
  const std::string fifo = folder.missing() + ".fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero"), std::string("/")}) {
    const PictureRead read = readPicture(path, kShown);
    EXPECT_TRUE(read.image.isNull()) << path;
    EXPECT_EQ(read.problem, "not a regular file") << path;
  }
  EXPECT_FALSE(readPicture(folder.missing(), kShown).problem.empty());
  EXPECT_FALSE(readPicture(folder.write("text.bmp", "not a picture"), kShown).problem.empty());
}

}  // namespace
}  // namespace skyfare
