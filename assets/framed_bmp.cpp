#include "assets/framed_bmp.h"

#include <zstd.h>

#include <QtEndian>
#include <algorithm>
#include <cstdint>
#include <memory>

#include "assets/bmp_file.h"
#include "assets/little_endian.h"

namespace skyfare::assets {
namespace {

// About this much of the bitmap in each band: small enough to hold one per thread, large
// enough for the compression to find the picture's repeats.
constexpr qsizetype kBandBytes = 256 << 10;
constexpr int kCompressionLevel = 9;

struct CompressionContextFree {
  void operator()(ZSTD_CCtx* context) const { ZSTD_freeCCtx(context); }
};

// Appends the bytes as one frame; false when compression fails.
bool appendFrame(ZSTD_CCtx* context, const char* bytes, qsizetype size, QByteArray& out) {
  const qsizetype start = out.size();
  out.resize(start + static_cast<qsizetype>(ZSTD_compressBound(static_cast<std::size_t>(size))));
  const std::size_t written =
      ZSTD_compress2(context, out.data() + start, static_cast<std::size_t>(out.size() - start),
                     bytes, static_cast<std::size_t>(size));
  if (ZSTD_isError(written))
    return false;
  out.resize(start + static_cast<qsizetype>(written));
  return true;
}

}  // namespace

bool saveFramedBmp(const QImage& image, const QString& path) {
  const QByteArray bmp = encodeBmp(image);
  if (bmp.isEmpty())
    return false;
  const auto pixelOffset =
      static_cast<qsizetype>(qFromLittleEndian<std::uint32_t>(bmp.constData() + 10));
  const int bitsPerPixel = qFromLittleEndian<std::uint16_t>(bmp.constData() + 28);
  const qsizetype rowBytes = (static_cast<qsizetype>(image.width()) * bitsPerPixel + 31) / 32 * 4;
  const qsizetype bandBytes = std::max<qsizetype>(1, kBandBytes / rowBytes) * rowBytes;

  const std::unique_ptr<ZSTD_CCtx, CompressionContextFree> context(ZSTD_createCCtx());
  if (!context ||
      ZSTD_isError(
          ZSTD_CCtx_setParameter(context.get(), ZSTD_c_compressionLevel, kCompressionLevel)) ||
      ZSTD_isError(ZSTD_CCtx_setParameter(context.get(), ZSTD_c_checksumFlag, 1)))
    return false;
  QByteArray framed;
  if (!appendFrame(context.get(), bmp.constData(), pixelOffset, framed))
    return false;
  for (qsizetype at = pixelOffset; at < bmp.size(); at += bandBytes) {
    if (!appendFrame(context.get(), bmp.constData() + at, std::min(bandBytes, bmp.size() - at),
                     framed))
      return false;
  }
  return writeFileBytes(framed, path);
}

}  // namespace skyfare::assets
