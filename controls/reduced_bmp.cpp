#include "controls/reduced_bmp.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace skyfare {
namespace {

constexpr qint64 kFileHeaderBytes = 14;
constexpr qint64 kInfoHeaderBytes = 40;
constexpr qint64 kMasksBytes = 16;
constexpr std::uint32_t kRgbCompression = 0;
constexpr std::uint32_t kBitfieldsCompression = 3;
// Row sums are 32-bit: a channel (up to 255 × 255) times the width of a file pixel in shares.
constexpr int kWidestFilePx = 65'000;
constexpr std::array<std::uint32_t, 4> kArgbMasks{0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};

struct Layout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bytesPerPixel = 0;
  qint64 pixelOffset = 0;
  qint64 rowBytes = 0;
};

std::uint32_t le32(const QByteArray& bytes, int at) {
  return qFromLittleEndian<std::uint32_t>(bytes.constData() + at);
}

std::uint16_t le16(const QByteArray& bytes, int at) {
  return qFromLittleEndian<std::uint16_t>(bytes.constData() + at);
}

// The file's layout when it is one this reader takes, with every row inside the file.
std::optional<Layout> readLayout(QFile& file, bool withAlpha) {
  const QByteArray header = file.read(kFileHeaderBytes + kInfoHeaderBytes + kMasksBytes);
  if (header.size() < kFileHeaderBytes + kInfoHeaderBytes || !header.startsWith("BM"))
    return std::nullopt;
  const std::uint32_t infoBytes = le32(header, 14);
  const auto signedHeight = static_cast<std::int32_t>(le32(header, 22));
  if (signedHeight == std::numeric_limits<std::int32_t>::min())
    return std::nullopt;
  const std::uint16_t bitsPerPixel = le16(header, 28);
  const std::uint32_t compression = le32(header, 30);
  Layout layout;
  layout.width = static_cast<std::int32_t>(le32(header, 18));
  layout.topDown = signedHeight < 0;
  layout.height = layout.topDown ? -signedHeight : signedHeight;
  layout.pixelOffset = le32(header, 10);
  if (infoBytes < kInfoHeaderBytes || le16(header, 26) != 1)
    return std::nullopt;
  if (!withAlpha && bitsPerPixel == 24 && compression == kRgbCompression) {
    layout.bytesPerPixel = 3;
  } else if (withAlpha && bitsPerPixel == 32 && compression == kBitfieldsCompression &&
             infoBytes >= kInfoHeaderBytes + kMasksBytes && header.size() == 70 &&
             std::array{le32(header, 54), le32(header, 58), le32(header, 62), le32(header, 66)} ==
                 kArgbMasks) {
    layout.bytesPerPixel = 4;
  } else {
    return std::nullopt;
  }
  layout.rowBytes = (static_cast<qint64>(layout.width) * layout.bytesPerPixel + 3) / 4 * 4;
  if (layout.width <= 0 || layout.height <= 0 ||
      layout.pixelOffset + layout.rowBytes * layout.height > file.size())
    return std::nullopt;
  return layout;
}

// How much of each file pixel along one axis falls into the picture pixel it starts in and
// into the one after, in units where a file pixel is `pictureLength` long and a picture pixel
// `fileLength`: whole numbers, so every file pixel is shared out exactly.
struct Share {
  int target;
  std::uint32_t first;
  std::uint32_t second;
};

std::vector<Share> sharesAlong(int fileLength, int pictureLength) {
  std::vector<Share> shares(static_cast<std::size_t>(fileLength));
  for (int source = 0; source < fileLength; ++source) {
    const std::int64_t start = static_cast<std::int64_t>(source) * pictureLength;
    const auto target = static_cast<int>(start / fileLength);
    const std::int64_t boundary = static_cast<std::int64_t>(target + 1) * fileLength;
    const std::int64_t first = std::min<std::int64_t>(pictureLength, boundary - start);
    shares[static_cast<std::size_t>(source)] = {target, static_cast<std::uint32_t>(first),
                                                static_cast<std::uint32_t>(pictureLength - first)};
  }
  return shares;
}

// Sums of red, green and blue, and of alpha for a picture with one: premultiplied and times
// 255 with alpha, plain without. One file pixel per kChannels bytes of a row.
template <int kChannels>
void sumRow(const uchar* pixels, const std::vector<Share>& across,
            std::vector<std::uint32_t>& sums) {
  std::fill(sums.begin(), sums.end(), 0);
  for (std::size_t x = 0; x < across.size(); ++x) {
    const uchar* pixel = pixels + x * kChannels;
    const std::uint32_t alpha = kChannels == 4 ? pixel[3] : 1;
    const std::uint32_t channels[4] = {pixel[2] * alpha, pixel[1] * alpha, pixel[0] * alpha,
                                       alpha * 255};
    std::uint32_t* sum = &sums[static_cast<std::size_t>(across[x].target) * kChannels];
    for (int c = 0; c < kChannels; ++c) {
      sum[c] += channels[c] * across[x].first;
      sum[c + kChannels] += channels[c] * across[x].second;
    }
  }
}

// Reads the rows in order, sums each into the picture rows it covers, and writes out each
// picture row once no more file rows reach into it. False when a row cannot be read.
template <int kChannels>
bool reduceRows(QFile& file, const Layout& layout, QImage& picture) {
  const std::vector<Share> across = sharesAlong(layout.width, picture.width());
  const std::vector<Share> down = sharesAlong(layout.height, picture.height());
  const double perSum = 1.0 / ((kChannels == 4 ? 255.0 : 1.0) * layout.width * layout.height);
  const std::size_t rowValues = static_cast<std::size_t>(picture.width()) * kChannels;
  // Room for one pixel more than the picture row, which only ever receives nothing.
  std::vector<std::uint32_t> rowSums(rowValues + kChannels);
  // The picture row being summed, and the next one, which a file row may reach into.
  std::vector<std::uint64_t> current(rowValues);
  std::vector<std::uint64_t> next(rowValues);
  QByteArray line(static_cast<qsizetype>(layout.rowBytes), Qt::Uninitialized);

  for (int y = 0; y < layout.height; ++y) {
    const int fileRow = layout.topDown ? y : layout.height - 1 - y;
    if (!file.seek(layout.pixelOffset + fileRow * layout.rowBytes) ||
        file.read(line.data(), layout.rowBytes) != layout.rowBytes)
      return false;
    sumRow<kChannels>(reinterpret_cast<const uchar*>(line.constData()), across, rowSums);
    const Share& share = down[static_cast<std::size_t>(y)];
    for (std::size_t i = 0; i < rowValues; ++i) {
      current[i] += std::uint64_t{rowSums[i]} * share.first;
      next[i] += std::uint64_t{rowSums[i]} * share.second;
    }
    if (y + 1 < layout.height && down[static_cast<std::size_t>(y) + 1].target == share.target)
      continue;
    auto* out = reinterpret_cast<QRgb*>(picture.scanLine(share.target));
    for (int x = 0; x < picture.width(); ++x) {
      const std::uint64_t* sum = &current[static_cast<std::size_t>(x) * kChannels];
      const auto channel = [&](int c) {
        return static_cast<int>(static_cast<double>(static_cast<std::int64_t>(sum[c])) * perSum +
                                0.5);
      };
      out[x] = qRgba(channel(0), channel(1), channel(2), kChannels == 4 ? channel(3) : 255);
    }
    std::swap(current, next);
    std::fill(next.begin(), next.end(), 0);
  }
  return true;
}

}  // namespace

QImage readReducedBmp(const QString& path, QSize fileSize, QSize size, bool withAlpha) {
  // Only a regular file: opening a FIFO or a device could wait for ever.
  QFile file(path);
  if (size.isEmpty() || size.width() > fileSize.width() || size.height() > fileSize.height() ||
      !QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
    return {};
  const std::optional<Layout> layout = readLayout(file, withAlpha);
  if (!layout || QSize(layout->width, layout->height) != fileSize || layout->width > kWidestFilePx)
    return {};

  QImage picture(size, withAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  if (picture.isNull())
    return {};
  const bool read = layout->bytesPerPixel == 4 ? reduceRows<4>(file, *layout, picture)
                                               : reduceRows<3>(file, *layout, picture);
  return read ? picture : QImage();
}

}  // namespace skyfare
