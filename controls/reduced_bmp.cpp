#include "controls/reduced_bmp.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <thread>
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

// What one picture pixel (or row) is made of along one axis: file pixels (or rows) with their
// weights, in units where a file pixel is `pictureLength` long and a picture pixel
// `fileLength`: whole numbers, so every file pixel is shared out exactly and a picture pixel's
// weights add up to `fileLength`. The taps of picture pixel i are taps[begin[i]] up to
// taps[begin[i + 1]].
struct Taps {
  struct Tap {
    int source;
    std::uint32_t weight;
  };
  std::vector<std::size_t> begin;
  std::vector<Tap> taps;
};

Taps tapsAlong(int fileLength, int pictureLength) {
  std::vector<std::vector<Taps::Tap>> perTarget(static_cast<std::size_t>(pictureLength));
  for (int source = 0; source < fileLength; ++source) {
    const std::int64_t start = static_cast<std::int64_t>(source) * pictureLength;
    const auto target = static_cast<std::size_t>(start / fileLength);
    const std::int64_t boundary = static_cast<std::int64_t>(target + 1) * fileLength;
    const auto first =
        static_cast<std::uint32_t>(std::min<std::int64_t>(pictureLength, boundary - start));
    perTarget[target].push_back({source, first});
    if (first < static_cast<std::uint32_t>(pictureLength))
      perTarget[target + 1].push_back({source, static_cast<std::uint32_t>(pictureLength) - first});
  }
  Taps taps;
  for (const std::vector<Taps::Tap>& target : perTarget) {
    taps.begin.push_back(taps.taps.size());
    taps.taps.insert(taps.taps.end(), target.begin(), target.end());
  }
  taps.begin.push_back(taps.taps.size());
  return taps;
}

// Reads the file's rows, top row of the picture first, a block of rows at a time.
class RowReader {
 public:
  RowReader(int fd, const Layout& layout) : fd_(fd), layout_(layout) {}

  // Row y of the picture (0 at the top), or null when it cannot be read.
  const uchar* row(int y) {
    if (y < first_ || y >= first_ + count_) {
      if (!readBlockFrom(y))
        return nullptr;
    }
    const int inBlock = layout_.topDown ? y - first_ : first_ + count_ - 1 - y;
    return block_.data() +
           static_cast<std::size_t>(inBlock) * static_cast<std::size_t>(layout_.rowBytes);
  }

 private:
  static constexpr qint64 kBlockBytes = 1 << 20;

  bool readBlockFrom(int y) {
    const int rows =
        static_cast<int>(std::clamp<qint64>(kBlockBytes / layout_.rowBytes, 1, layout_.height - y));
    // In a bottom-up file the picture's rows y … y + rows - 1 lie backwards before row y's end.
    const int lowestFileRow = layout_.topDown ? y : layout_.height - y - rows;
    const qint64 bytes = rows * layout_.rowBytes;
    block_.resize(static_cast<std::size_t>(bytes));
    if (pread(fd_, block_.data(), static_cast<std::size_t>(bytes),
              layout_.pixelOffset + lowestFileRow * layout_.rowBytes) != bytes)
      return false;
    first_ = y;
    count_ = rows;
    return true;
  }

  int fd_;
  const Layout& layout_;
  std::vector<uchar> block_;
  int first_ = 0;
  int count_ = 0;
};

// The weighted sums across one file row for every picture pixel: red, green and blue, and
// alpha for a picture with one; premultiplied and times 255 with alpha, plain without. A sum
// stays below 2^32 because a pixel's weights add up to the file's width (kWidestFilePx).
template <int kChannels>
void sumAcross(const uchar* pixels, const Taps& across, std::uint32_t* sums) {
  const std::size_t width = across.begin.size() - 1;
  for (std::size_t x = 0; x < width; ++x) {
    std::uint32_t total[4] = {0, 0, 0, 0};
    for (std::size_t t = across.begin[x]; t < across.begin[x + 1]; ++t) {
      const uchar* pixel = pixels + static_cast<std::size_t>(across.taps[t].source) * kChannels;
      const std::uint32_t weight = across.taps[t].weight;
      const std::uint32_t alpha = kChannels == 4 ? pixel[3] : 1;
      total[0] += pixel[2] * alpha * weight;
      total[1] += pixel[1] * alpha * weight;
      total[2] += pixel[0] * alpha * weight;
      if constexpr (kChannels == 4)
        total[3] += alpha * 255 * weight;
    }
    for (int c = 0; c < kChannels; ++c)
      sums[x * kChannels + static_cast<std::size_t>(c)] = total[c];
  }
}

// Makes the picture rows [firstRow, endRow): each the weighted sum of the rows summed across
// that reach into it. A file row shared by two picture rows is summed across once.
template <int kChannels>
bool reduceBand(int fd, const Layout& layout, const Taps& across, const Taps& down,
                uchar* pictureBits, qsizetype bytesPerLine, int firstRow, int endRow) {
  const std::size_t width = across.begin.size() - 1;
  const std::size_t rowValues = width * kChannels;
  const double perSum = 1.0 / ((kChannels == 4 ? 255.0 : 1.0) * layout.width * layout.height);
  RowReader reader(fd, layout);
  std::vector<std::uint32_t> summed(rowValues);
  std::vector<std::uint32_t> lastSummed(rowValues);
  int lastSource = -1;
  std::vector<std::uint64_t> total(rowValues);

  for (int y = firstRow; y < endRow; ++y) {
    std::fill(total.begin(), total.end(), 0);
    const std::size_t firstTap = down.begin[static_cast<std::size_t>(y)];
    const std::size_t endTap = down.begin[static_cast<std::size_t>(y) + 1];
    for (std::size_t t = firstTap; t < endTap; ++t) {
      const int source = down.taps[t].source;
      if (source != lastSource) {
        const uchar* pixels = reader.row(source);
        if (pixels == nullptr)
          return false;
        sumAcross<kChannels>(pixels, across, summed.data());
        std::swap(summed, lastSummed);
        lastSource = source;
      }
      const std::uint64_t weight = down.taps[t].weight;
      for (std::size_t i = 0; i < rowValues; ++i) total[i] += lastSummed[i] * weight;
    }
    auto* out = reinterpret_cast<QRgb*>(pictureBits + y * bytesPerLine);
    for (std::size_t x = 0; x < width; ++x) {
      const std::uint64_t* sum = &total[x * kChannels];
      const auto channel = [&](int c) {
        return static_cast<int>(static_cast<double>(static_cast<std::int64_t>(sum[c])) * perSum +
                                0.5);
      };
      out[x] = qRgba(channel(0), channel(1), channel(2), kChannels == 4 ? channel(3) : 255);
    }
  }
  return true;
}

// Splits the picture's rows into bands made side by side, one per core: the reduction is all
// arithmetic, and it stands between a large screen and its first frame.
template <int kChannels>
bool reduceRows(int fd, const Layout& layout, QImage& picture) {
  constexpr int kFewestRowsPerBand = 64;
  const Taps across = tapsAlong(layout.width, picture.width());
  const Taps down = tapsAlong(layout.height, picture.height());
  const int bands = std::clamp(
      std::min(QThread::idealThreadCount(), picture.height() / kFewestRowsPerBand), 1, 8);
  uchar* bits = picture.bits();
  const qsizetype bytesPerLine = picture.bytesPerLine();
  const auto band = [&](int b) {
    return reduceBand<kChannels>(fd, layout, across, down, bits, bytesPerLine,
                                 picture.height() * b / bands, picture.height() * (b + 1) / bands);
  };
  std::vector<char> done(static_cast<std::size_t>(bands), 0);
  {
    std::vector<std::jthread> others;
    for (int b = 1; b < bands; ++b)
      others.emplace_back([&, b] { done[static_cast<std::size_t>(b)] = band(b); });
    done[0] = band(0);
  }
  return std::all_of(done.begin(), done.end(), [](char ok) { return ok != 0; });
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
  const bool read = layout->bytesPerPixel == 4 ? reduceRows<4>(file.handle(), *layout, picture)
                                               : reduceRows<3>(file.handle(), *layout, picture);
  return read ? picture : QImage();
}

}  // namespace skyfare
