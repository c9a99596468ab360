#include "pictures/reduced_bmp.h"

#include <QThread>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "files/regular_file.h"
#include "pictures/zstd_frames.h"

namespace skyfare {
namespace {

constexpr qint64 kFileHeaderBytes = 14;
constexpr qint64 kInfoHeaderBytes = 40;
constexpr qint64 kMasksBytes = 16;
constexpr std::uint32_t kRgbCompression = 0;
constexpr std::uint32_t kBitfieldsCompression = 3;
// Sums across a row are 32-bit: a channel (up to 255 × 255) times the weights of a pixel,
// which add up to the file's width. Sums down, in doubles, stay whole numbers below 2^53.
constexpr int kLargestFileSidePx = 65'000;
constexpr std::array<std::uint32_t, 4> kArgbMasks{0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};

// A compressed file larger than this is not read: the program's densest picture packs into a
// small part of it.
constexpr std::int64_t kLargestFramedFileBytes = 32LL << 20;
// The headers' frame and one band of rows decode into buffers no larger than these.
constexpr std::uint64_t kLargestHeadersBytes = 4096;
constexpr std::uint64_t kLargestBandBytes = 16ULL << 20;

struct Layout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bytesPerPixel = 0;
  qint64 rowBytes = 0;
  int rowsPerBand = 0;  // in every frame after the headers' one but the last
};

std::uint32_t le32(const QByteArray& bytes, int at) {
  return qFromLittleEndian<std::uint32_t>(bytes.constData() + at);
}

std::uint16_t le16(const QByteArray& bytes, int at) {
  return qFromLittleEndian<std::uint16_t>(bytes.constData() + at);
}

// The layout the headers describe, when it is one this reader takes.
std::optional<Layout> layoutOfHeaders(const QByteArray& header, bool withAlpha) {
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
  // The pixels start where the headers' frame ends.
  if (infoBytes < kInfoHeaderBytes || le16(header, 26) != 1 || le32(header, 10) != header.size())
    return std::nullopt;
  if (!withAlpha && bitsPerPixel == 24 && compression == kRgbCompression) {
    layout.bytesPerPixel = 3;
  } else if (withAlpha && bitsPerPixel == 32 && compression == kBitfieldsCompression &&
             infoBytes >= kInfoHeaderBytes + kMasksBytes &&
             header.size() >= kFileHeaderBytes + kInfoHeaderBytes + kMasksBytes &&
             std::array{le32(header, 54), le32(header, 58), le32(header, 62), le32(header, 66)} ==
                 kArgbMasks) {
    layout.bytesPerPixel = 4;
  } else {
    return std::nullopt;
  }
  if (layout.width <= 0 || layout.width > kLargestFileSidePx || layout.height <= 0 ||
      layout.height > kLargestFileSidePx)
    return std::nullopt;
  layout.rowBytes = (static_cast<qint64>(layout.width) * layout.bytesPerPixel + 3) / 4 * 4;
  return layout;
}

// The layout of a framed bitmap (see assets/framed_bmp.h) when its headers are one this reader
// takes and its frames hold exactly its rows, in bands of one size.
std::optional<Layout> readLayout(const ZstdFrames& frames, bool withAlpha) {
  if (frames.count() < 2 || frames.decodedBytes(0) > kLargestHeadersBytes)
    return std::nullopt;
  QByteArray header(static_cast<qsizetype>(frames.decodedBytes(0)), Qt::Uninitialized);
  if (!frames.decode(0, reinterpret_cast<unsigned char*>(header.data())))
    return std::nullopt;
  std::optional<Layout> layout = layoutOfHeaders(header, withAlpha);
  if (!layout)
    return std::nullopt;
  const auto rowsIn = [&](std::size_t frame) -> std::optional<std::int64_t> {
    const std::uint64_t bytes = frames.decodedBytes(frame);
    if (bytes == 0 || bytes > kLargestBandBytes ||
        bytes % static_cast<std::uint64_t>(layout->rowBytes) != 0)
      return std::nullopt;
    return static_cast<std::int64_t>(bytes / static_cast<std::uint64_t>(layout->rowBytes));
  };
  const std::optional<std::int64_t> rowsPerBand = rowsIn(1);
  if (!rowsPerBand)
    return std::nullopt;
  std::int64_t rows = 0;
  for (std::size_t frame = 1; frame < frames.count(); ++frame) {
    const std::optional<std::int64_t> bandRows = rowsIn(frame);
    const bool last = frame + 1 == frames.count();
    if (!bandRows || (last ? *bandRows > *rowsPerBand : *bandRows != *rowsPerBand))
      return std::nullopt;
    rows += *bandRows;
  }
  if (rows != layout->height)
    return std::nullopt;
  layout->rowsPerBand = static_cast<int>(*rowsPerBand);
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

// Gives the file's rows by their place in the picture, decoding one band of rows at a time.
class RowReader {
 public:
  RowReader(const ZstdFrames& frames, const Layout& layout) : frames_(frames), layout_(layout) {}

  // Row y of the picture (0 at the top), or null when its band is damaged.
  const uchar* row(int y) {
    const int fileRow = layout_.topDown ? y : layout_.height - 1 - y;
    const std::size_t frame = 1 + static_cast<std::size_t>(fileRow / layout_.rowsPerBand);
    if (frame != frame_) {
      band_.resize(static_cast<std::size_t>(frames_.decodedBytes(frame)));
      frame_ = frames_.decode(frame, band_.data()) ? frame : 0;
      if (frame_ == 0)
        return nullptr;
    }
    return band_.data() + static_cast<std::size_t>(fileRow % layout_.rowsPerBand) *
                              static_cast<std::size_t>(layout_.rowBytes);
  }

 private:
  const ZstdFrames& frames_;
  const Layout& layout_;
  std::vector<uchar> band_;
  std::size_t frame_ = 0;  // the band held, 0 for none
};

// The weighted sums across one file row for every picture pixel: red, green and blue, and
// alpha for a picture with one; premultiplied and times 255 with alpha, plain without. A sum
// stays below 2^32 because a pixel's weights add up to the file's width (kLargestFileSidePx).
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
template <int kChannels, typename Target>
bool reducePart(const ZstdFrames& frames, const Layout& layout, const Taps& across,
                const Taps& down, Target& target, int firstRow, int endRow) {
  const std::size_t width = across.begin.size() - 1;
  const std::size_t rowValues = width * kChannels;
  const double perSum = 1.0 / ((kChannels == 4 ? 255.0 : 1.0) * layout.width * layout.height);
  RowReader reader(frames, layout);
  std::vector<std::uint32_t> summed(rowValues);
  std::vector<std::uint32_t> lastSummed(rowValues);
  int lastSource = -1;
  // Whole numbers, exactly as in integers, and quicker to sum and divide.
  std::vector<double> total(rowValues);

  for (int y = firstRow; y < endRow; ++y) {
    std::fill(total.begin(), total.end(), 0.0);
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
      const double weight = down.taps[t].weight;
      for (std::size_t i = 0; i < rowValues; ++i) total[i] += lastSummed[i] * weight;
    }
    // Red, green, blue bytes for an opaque picture; premultiplied 32-bit pixels with alpha.
    uchar* out = target.row(y);
    if (out == nullptr)
      return false;
    for (std::size_t x = 0; x < width; ++x) {
      const double* sum = &total[x * kChannels];
      const auto channel = [&](int c) { return static_cast<uchar>(sum[c] * perSum + 0.5); };
      if constexpr (kChannels == 4) {
        reinterpret_cast<QRgb*>(out)[x] = qRgba(channel(0), channel(1), channel(2), channel(3));
      } else {
        for (int c = 0; c < 3; ++c) out[3 * x + static_cast<std::size_t>(c)] = channel(c);
      }
    }
    if (!target.rowMade(y))
      return false;
  }
  return true;
}

// Rows made straight into a whole picture.
class WholePicture {
 public:
  explicit WholePicture(QImage& picture) : picture_(picture) {}
  uchar* row(int y) { return picture_.scanLine(y); }
  bool rowMade(int) { return true; }

 private:
  QImage& picture_;
};

// Rows made into one band at a time, each handed over once its last row is made.
class BandByBand {
 public:
  BandByBand(QSize size, QImage::Format format, int rowsPerBand, const ReducedBandTaker& take)
      : size_(size), format_(format), rowsPerBand_(rowsPerBand), take_(take) {}
  uchar* row(int y) {
    const int band = y / rowsPerBand_;
    if (band != bandShown_) {
      band_ = QImage(size_.width(), std::min(rowsPerBand_, size_.height() - band * rowsPerBand_),
                     format_);
      bandShown_ = band_.isNull() ? -1 : band;
      if (band_.isNull())
        return nullptr;
    }
    return band_.scanLine(y - bandShown_ * rowsPerBand_);
  }
  bool rowMade(int y) {
    const bool last = y + 1 == size_.height() || (y + 1) % rowsPerBand_ == 0;
    return !last || take_(bandShown_, band_);
  }

 private:
  QSize size_;
  QImage::Format format_;
  int rowsPerBand_;
  const ReducedBandTaker& take_;
  QImage band_;
  int bandShown_ = -1;
};

// Splits the picture's rows into parts made side by side, one per core: the reduction is all
// arithmetic, and it stands between a large screen and its first frame. A part starts on a
// multiple of `rowsPerUnit`, and each part writes through a target of its own.
template <int kChannels, typename MakeTarget>
bool reduceRows(const ZstdFrames& frames, const Layout& layout, QSize size, int rowsPerUnit,
                const MakeTarget& makeTarget) {
  constexpr int kFewestRowsPerPart = 64;
  const Taps across = tapsAlong(layout.width, size.width());
  const Taps down = tapsAlong(layout.height, size.height());
  const int units = (size.height() + rowsPerUnit - 1) / rowsPerUnit;
  const int parts = std::clamp(
      std::min({QThread::idealThreadCount(), size.height() / kFewestRowsPerPart, units}), 1, 8);
  const auto makePart = [&](int p) {
    auto target = makeTarget();
    return reducePart<kChannels>(frames, layout, across, down, target,
                                 std::min(size.height(), units * p / parts * rowsPerUnit),
                                 std::min(size.height(), units * (p + 1) / parts * rowsPerUnit));
  };
  std::vector<char> done(static_cast<std::size_t>(parts), 0);
  {
    std::vector<std::jthread> others;
    for (int p = 1; p < parts; ++p) {
      try {
        others.emplace_back([&, p] { done[static_cast<std::size_t>(p)] = makePart(p); });
      } catch (const std::system_error&) {
        // With no thread to be had, this one makes the part.
        done[static_cast<std::size_t>(p)] = makePart(p);
      }
    }
    done[0] = makePart(0);
  }
  return std::all_of(done.begin(), done.end(), [](char ok) { return ok != 0; });
}

QImage::Format formatOf(bool withAlpha) {
  return withAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB888;
}

// The file's frames when it is a framed bitmap of exactly `fileSize` pixels that reduces to
// `size` and is of the expected kind.
std::optional<std::pair<ZstdFrames, Layout>> framesToReduce(const std::string& path, QSize fileSize,
                                                            QSize size, bool withAlpha) {
  if (size.isEmpty() || size.width() > fileSize.width() || size.height() > fileSize.height())
    return std::nullopt;
  RegularFile file(path);
  std::optional<std::vector<unsigned char>> bytes = file.readAll(kLargestFramedFileBytes);
  if (!bytes)
    return std::nullopt;
  ZstdFrames frames(std::move(*bytes));
  const std::optional<Layout> layout = readLayout(frames, withAlpha);
  if (!layout || QSize(layout->width, layout->height) != fileSize)
    return std::nullopt;
  return std::pair(std::move(frames), *layout);
}

}  // namespace

QImage readReducedBmp(const std::string& path, QSize fileSize, QSize size, bool withAlpha) {
  const auto file = framesToReduce(path, fileSize, size, withAlpha);
  if (!file)
    return {};
  const auto& [frames, layout] = *file;
  QImage picture(size, formatOf(withAlpha));
  if (picture.isNull())
    return {};
  const auto whole = [&] { return WholePicture(picture); };
  const bool read = layout.bytesPerPixel == 4 ? reduceRows<4>(frames, layout, size, 1, whole)
                                              : reduceRows<3>(frames, layout, size, 1, whole);
  return read ? picture : QImage();
}

bool readReducedBmpInBands(const std::string& path, QSize fileSize, QSize size, bool withAlpha,
                           int rowsPerBand, const ReducedBandTaker& takeBand) {
  const auto file = framesToReduce(path, fileSize, size, withAlpha);
  if (!file || rowsPerBand < 1)
    return false;
  const auto& [frames, layout] = *file;
  const auto bands = [&] { return BandByBand(size, formatOf(withAlpha), rowsPerBand, takeBand); };
  return layout.bytesPerPixel == 4 ? reduceRows<4>(frames, layout, size, rowsPerBand, bands)
                                   : reduceRows<3>(frames, layout, size, rowsPerBand, bands);
}

}  // namespace skyfare
