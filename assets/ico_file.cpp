#include "assets/ico_file.h"

#include "assets/little_endian.h"

#include <QBuffer>
#include <cstdint>
#include <vector>

namespace skyfare::assets {
namespace {

constexpr std::uint16_t kIconType = 1;
constexpr std::uint32_t kDirectoryBytes = 6;
constexpr std::uint32_t kEntryBytes = 16;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr int kLargestSizePx = 256;
// From this size on the system expects PNG; a directory entry writes 256 as 0.
constexpr int kPngFromSizePx = 256;

std::uint32_t maskRowBytes(int width) {
  return ((static_cast<std::uint32_t>(width) + 31) / 32) * 4;
}

// A bitmap of twice the picture's height, as icons declare it: the colour rows, then the
// transparency mask's rows, both from the bottom up.
QByteArray encodeBitmapSize(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_ARGB32);
  const int width = image.width();
  const int height = image.height();
  const std::uint32_t maskRow = maskRowBytes(width);
  QByteArray bytes;
  appendLe32(bytes, kInfoHeaderBytes);
  appendLe32(bytes, static_cast<std::uint32_t>(width));
  appendLe32(bytes, static_cast<std::uint32_t>(height) * 2);
  appendLe16(bytes, 1);
  appendLe16(bytes, 32);
  appendLe32(bytes, 0);  // uncompressed
  appendLe32(bytes, (static_cast<std::uint32_t>(width) * 4 + maskRow) * height);
  for (int i = 0; i < 4; ++i) appendLe32(bytes, 0);
  for (int y = height - 1; y >= 0; --y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < width; ++x) appendLe32(bytes, line[x]);  // B, G, R, A in the file
  }
  for (int y = height - 1; y >= 0; --y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    QByteArray row(static_cast<qsizetype>(maskRow), '\0');
    for (int x = 0; x < width; ++x) {
      if (qAlpha(line[x]) == 0)
        row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
    }
    bytes += row;
  }
  return bytes;
}

QByteArray encodePngSize(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  constexpr int kSmallestFileQuality = 0;
  return image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG", kSmallestFileQuality)
             ? bytes
             : QByteArray();
}

}  // namespace

QByteArray encodeIco(std::span<const QImage> sizes) {
  std::vector<QByteArray> images;
  for (const QImage& size : sizes) {
    if (size.isNull() || size.width() != size.height() || size.width() > kLargestSizePx)
      return {};
    images.push_back(size.width() >= kPngFromSizePx ? encodePngSize(size) : encodeBitmapSize(size));
    if (images.back().isEmpty())
      return {};
  }
  QByteArray bytes;
  appendLe16(bytes, 0);
  appendLe16(bytes, kIconType);
  appendLe16(bytes, static_cast<std::uint16_t>(images.size()));
  std::uint32_t offset = kDirectoryBytes + kEntryBytes * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int sizePx = sizes[i].width();
    const char sizeByte = static_cast<char>(sizePx == kLargestSizePx ? 0 : sizePx);
    bytes.append(sizeByte);
    bytes.append(sizeByte);
    bytes.append('\0');  // no palette
    bytes.append('\0');
    appendLe16(bytes, 1);   // colour planes
    appendLe16(bytes, 32);  // bits per pixel
    appendLe32(bytes, static_cast<std::uint32_t>(images[i].size()));
    appendLe32(bytes, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const QByteArray& image : images) bytes += image;
  return bytes;
}

bool saveIco(std::span<const QImage> sizes, const QString& path) {
  const QByteArray bytes = encodeIco(sizes);
  return !bytes.isEmpty() && writeFileBytes(bytes, path);
}

}  // namespace skyfare::assets
