#include "drawing/packed_picture.h"

#include <sys/mman.h>
#include <zstd.h>

#include <QPixelFormat>
#include <algorithm>
#include <memory>

namespace skyfare {
namespace {

// The fastest of zstd's ordinary levels packs the sprites almost as small as its default does.
constexpr int kPackingLevel = 1;
// Small enough that a band made, packed or unpacked for a few rows costs little memory; large
// enough that the bands of a screen's background pack as well as one frame would.
constexpr qsizetype kBandBytes = qsizetype{256} << 10;

// Unpacked pixels live in pages of their own, given back to the system when the picture is
// let go of: pictures of megabytes come and go all session long, and the heap would keep the
// room they leave. The mapping starts with its own length, before the pixels, and keeps a
// cache line to spare after them, as the heap would: a copy that reads a row in whole vector
// steps must not find the end of the mapping right after the last pixel.
struct MappingHeader {
  std::size_t mappedBytes;
};
constexpr std::size_t kHeaderBytes = 64;  // keeps the pixels aligned as a cache line
constexpr std::size_t kSpareBytes = 64;

void unmapPixels(void* mapping) {
  munmap(mapping, static_cast<MappingHeader*>(mapping)->mappedBytes);
}

int rowsPerBandFor(qsizetype bytesPerLine) {
  return bytesPerLine > 0 ? static_cast<int>(std::max<qsizetype>(1, kBandBytes / bytesPerLine)) : 1;
}

std::vector<unsigned char> packed(const uchar* pixels, std::size_t pixelBytes) {
  // Left as it comes, so only the pages the packed bytes reach are ever touched of the bound.
  const std::size_t bound = ZSTD_compressBound(pixelBytes);
  const auto packing = std::make_unique_for_overwrite<unsigned char[]>(bound);
  const std::size_t length = ZSTD_compress(packing.get(), bound, pixels, pixelBytes, kPackingLevel);
  if (ZSTD_isError(length))
    return {};
  return std::vector<unsigned char>(packing.get(), packing.get() + length);
}

}  // namespace

PackedPicture::PackedPicture(const QImage& picture)
    : size_(picture.size()),
      format_(picture.format()),
      bytesPerLine_(picture.bytesPerLine()),
      rowsPerBand_(rowsPerBandFor(picture.bytesPerLine())),
      colorSpace_(picture.colorSpace()),
      devicePixelRatio_(picture.devicePixelRatio()) {
  if (picture.isNull())
    return;
  const int bands = (size_.height() + rowsPerBand_ - 1) / rowsPerBand_;
  bands_.resize(static_cast<std::size_t>(bands));
  for (int band = 0; band < bands; ++band) {
    bands_[static_cast<std::size_t>(band)] = packed(
        picture.constScanLine(band * rowsPerBand_),
        static_cast<std::size_t>(bytesPerLine_) * static_cast<std::size_t>(rowsOfBand(band)));
  }
}

PackedPicture::PackedPicture(QSize size, QImage::Format format)
    : size_(size.isEmpty() ? QSize() : size),
      format_(format),
      bytesPerLine_(size.isEmpty() ? 0
                                   : (static_cast<qsizetype>(size.width()) *
                                          QImage::toPixelFormat(format).bitsPerPixel() +
                                      31) /
                                         32 * 4),
      rowsPerBand_(rowsPerBandFor(bytesPerLine_)) {
  if (!size_.isEmpty())
    bands_.resize(static_cast<std::size_t>((size_.height() + rowsPerBand_ - 1) / rowsPerBand_));
}

bool PackedPicture::isEmpty() const {
  return bands_.empty() ||
         std::any_of(bands_.begin(), bands_.end(), [](const auto& band) { return band.empty(); });
}

std::size_t PackedPicture::packedBytes() const {
  std::size_t total = 0;
  for (const auto& band : bands_) total += band.size();
  return total;
}

int PackedPicture::rowsOfBand(int band) const {
  return std::min(rowsPerBand_, size_.height() - band * rowsPerBand_);
}

bool PackedPicture::packBand(int band, const QImage& rows) {
  if (band < 0 || static_cast<std::size_t>(band) >= bands_.size() || rows.format() != format_ ||
      rows.width() != size_.width() || rows.height() != rowsOfBand(band) ||
      rows.bytesPerLine() != bytesPerLine_)
    return false;
  std::vector<unsigned char>& bytes = bands_[static_cast<std::size_t>(band)];
  bytes = packed(rows.constBits(), static_cast<std::size_t>(rows.sizeInBytes()));
  return !bytes.empty();
}

QImage PackedPicture::unpack() const {
  return unpackBands(0, static_cast<int>(bands_.size()));
}

QImage PackedPicture::unpackRows(int firstRow, int endRow, int& topRow) const {
  firstRow = std::clamp(firstRow, 0, size_.height());
  endRow = std::clamp(endRow, firstRow, size_.height());
  if (firstRow == endRow)
    return {};
  const int firstBand = firstRow / rowsPerBand_;
  topRow = firstBand * rowsPerBand_;
  return unpackBands(firstBand, (endRow + rowsPerBand_ - 1) / rowsPerBand_);
}

QImage PackedPicture::unpackBands(int firstBand, int endBand) const {
  if (isEmpty() || firstBand >= endBand)
    return {};
  const int topRow = firstBand * rowsPerBand_;
  const int rows = std::min(size_.height(), endBand * rowsPerBand_) - topRow;
  const std::size_t pixelBytes =
      static_cast<std::size_t>(bytesPerLine_) * static_cast<std::size_t>(rows);
  const std::size_t mappedBytes = kHeaderBytes + pixelBytes + kSpareBytes;
  void* mapping =
      mmap(nullptr, mappedBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED)
    return {};
  static_cast<MappingHeader*>(mapping)->mappedBytes = mappedBytes;
  uchar* pixels = static_cast<uchar*>(mapping) + kHeaderBytes;
  bool unpacked = true;
  for (int band = firstBand; band < endBand && unpacked; ++band) {
    const std::size_t bandBytes =
        static_cast<std::size_t>(bytesPerLine_) * static_cast<std::size_t>(rowsOfBand(band));
    const std::vector<unsigned char>& bytes = bands_[static_cast<std::size_t>(band)];
    const std::size_t length = ZSTD_decompress(pixels + static_cast<std::size_t>(band - firstBand) *
                                                            static_cast<std::size_t>(rowsPerBand_) *
                                                            static_cast<std::size_t>(bytesPerLine_),
                                               bandBytes, bytes.data(), bytes.size());
    unpacked = !ZSTD_isError(length) && length == bandBytes;
  }
  QImage picture;
  if (unpacked)
    picture = QImage(pixels, size_.width(), rows, bytesPerLine_, format_, unmapPixels, mapping);
  // A picture that was not made never calls its clean-up.
  if (picture.isNull()) {
    munmap(mapping, mappedBytes);
    return {};
  }
  picture.setColorSpace(colorSpace_);
  picture.setDevicePixelRatio(devicePixelRatio_);
  return picture;
}

}  // namespace skyfare
