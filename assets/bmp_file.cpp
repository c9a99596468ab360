#include "assets/bmp_file.h"

#include "assets/little_endian.h"

#include <cstdint>

namespace skyfare::assets {
namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kV5HeaderBytes = 124;
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch
constexpr std::uint32_t kRgbCompression = 0;
constexpr std::uint32_t kBitfieldsCompression = 3;
constexpr std::uint32_t kSrgbColourSpace = 0x73524742;  // 'sRGB'
constexpr std::uint32_t kPerceptualIntent = 4;
constexpr int kIndexedColours = 256;

std::uint32_t rowBytes(int width, int bitsPerPixel) {
  return ((static_cast<std::uint32_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

void appendFileHeader(QByteArray& bytes, std::uint32_t pixelOffset, std::uint32_t fileSize) {
  bytes.append("BM", 2);
  appendLe32(bytes, fileSize);
  appendLe32(bytes, 0);
  appendLe32(bytes, pixelOffset);
}

void appendInfoFields(QByteArray& bytes, std::uint32_t headerBytes, const QImage& image,
                      std::uint16_t bitsPerPixel, std::uint32_t compression,
                      std::uint32_t colours) {
  appendLe32(bytes, headerBytes);
  appendLe32(bytes, static_cast<std::uint32_t>(image.width()));
  appendLe32(bytes, static_cast<std::uint32_t>(image.height()));  // positive: bottom-up rows
  appendLe16(bytes, 1);
  appendLe16(bytes, bitsPerPixel);
  appendLe32(bytes, compression);
  appendLe32(bytes, rowBytes(image.width(), bitsPerPixel) * image.height());
  appendLe32(bytes, kPixelsPerMetre);
  appendLe32(bytes, kPixelsPerMetre);
  appendLe32(bytes, colours);
  appendLe32(bytes, 0);
}

void appendPadding(QByteArray& bytes, std::uint32_t written, std::uint32_t rowSize) {
  for (; written < rowSize; ++written) {
    bytes.append('\0');
  }
}

QByteArray encodeIndexed(const QImage& image) {
  const std::uint32_t rowSize = rowBytes(image.width(), 8);
  const std::uint32_t pixelOffset = kFileHeaderBytes + kInfoHeaderBytes + kIndexedColours * 4;
  QByteArray bytes;
  appendFileHeader(bytes, pixelOffset, pixelOffset + rowSize * image.height());
  appendInfoFields(bytes, kInfoHeaderBytes, image, 8, kRgbCompression, kIndexedColours);
  const QList<QRgb> table = image.colorTable();
  for (int i = 0; i < kIndexedColours; ++i) {
    const QRgb colour = i < table.size() ? table[i] : qRgb(0, 0, 0);
    appendLe32(bytes, colour & 0x00FFFFFF);
  }
  for (int y = image.height() - 1; y >= 0; --y) {
    const uchar* line = image.constScanLine(y);
    bytes.append(reinterpret_cast<const char*>(line), image.width());
    appendPadding(bytes, static_cast<std::uint32_t>(image.width()), rowSize);
  }
  return bytes;
}

QByteArray encodeRgb(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  const std::uint32_t rowSize = rowBytes(image.width(), 24);
  const std::uint32_t pixelOffset = kFileHeaderBytes + kInfoHeaderBytes;
  QByteArray bytes;
  appendFileHeader(bytes, pixelOffset, pixelOffset + rowSize * image.height());
  appendInfoFields(bytes, kInfoHeaderBytes, image, 24, kRgbCompression, 0);
  for (int y = image.height() - 1; y >= 0; --y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      bytes.append(static_cast<char>(qBlue(line[x])));
      bytes.append(static_cast<char>(qGreen(line[x])));
      bytes.append(static_cast<char>(qRed(line[x])));
    }
    appendPadding(bytes, static_cast<std::uint32_t>(image.width()) * 3, rowSize);
  }
  return bytes;
}

// Straight (not premultiplied) alpha, as the version 5 header defines it.
QByteArray encodeArgb(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_ARGB32);
  const std::uint32_t pixelOffset = kFileHeaderBytes + kV5HeaderBytes;
  QByteArray bytes;
  appendFileHeader(bytes, pixelOffset, pixelOffset + rowBytes(image.width(), 32) * image.height());
  appendInfoFields(bytes, kV5HeaderBytes, image, 32, kBitfieldsCompression, 0);
  appendLe32(bytes, 0x00FF0000);
  appendLe32(bytes, 0x0000FF00);
  appendLe32(bytes, 0x000000FF);
  appendLe32(bytes, 0xFF000000);
  appendLe32(bytes, kSrgbColourSpace);
  for (int i = 0; i < 12; ++i) {
    appendLe32(bytes, 0);  // end points and gamma, unused for sRGB
  }
  appendLe32(bytes, kPerceptualIntent);
  appendLe32(bytes, 0);  // no profile
  appendLe32(bytes, 0);
  appendLe32(bytes, 0);
  for (int y = image.height() - 1; y >= 0; --y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      appendLe32(bytes, line[x]);
    }
  }
  return bytes;
}

}  // namespace

QByteArray encodeBmp(const QImage& image) {
  if (image.isNull()) {
    return {};
  }
  if (image.format() == QImage::Format_Indexed8) {
    return encodeIndexed(image);
  }
  return image.hasAlphaChannel() ? encodeArgb(image) : encodeRgb(image);
}

bool saveBmp(const QImage& image, const QString& path) {
  return !image.isNull() && writeFileBytes(encodeBmp(image), path);
}

}  // namespace skyfare::assets
