#include "drawing/packed_picture.h"

#include <sys/mman.h>
#include <zstd.h>

#include <memory>

namespace skyfare {
namespace {

// The fastest of zstd's ordinary levels packs the sprites almost as small as its default does.
constexpr int kPackingLevel = 1;

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

}  // namespace

PackedPicture::PackedPicture(const QImage& picture)
    : size_(picture.size()),
      format_(picture.format()),
      bytesPerLine_(picture.bytesPerLine()),
      colorSpace_(picture.colorSpace()),
      devicePixelRatio_(picture.devicePixelRatio()) {
  if (picture.isNull())
    return;
  const auto pixelBytes = static_cast<std::size_t>(picture.sizeInBytes());
  // Left as it comes, so only the pages the packed bytes reach are ever touched of the bound.
  const std::size_t bound = ZSTD_compressBound(pixelBytes);
  const auto packing = std::make_unique_for_overwrite<unsigned char[]>(bound);
  const std::size_t packed =
      ZSTD_compress(packing.get(), bound, picture.constBits(), pixelBytes, kPackingLevel);
  if (!ZSTD_isError(packed))
    bytes_.assign(packing.get(), packing.get() + packed);
}

QImage PackedPicture::unpack() const {
  if (bytes_.empty())
    return {};
  const std::size_t pixelBytes =
      static_cast<std::size_t>(bytesPerLine_) * static_cast<std::size_t>(size_.height());
  const std::size_t mappedBytes = kHeaderBytes + pixelBytes + kSpareBytes;
  void* mapping =
      mmap(nullptr, mappedBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapping == MAP_FAILED)
    return {};
  static_cast<MappingHeader*>(mapping)->mappedBytes = mappedBytes;
  uchar* pixels = static_cast<uchar*>(mapping) + kHeaderBytes;
  const std::size_t unpacked = ZSTD_decompress(pixels, pixelBytes, bytes_.data(), bytes_.size());
  QImage picture;
  if (!ZSTD_isError(unpacked) && unpacked == pixelBytes)
    picture =
        QImage(pixels, size_.width(), size_.height(), bytesPerLine_, format_, unmapPixels, mapping);
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
