#include "raster/picture_keying.h"

#include "core/controls/drawing_control.h"

namespace skyfare {
namespace {

constexpr std::uint32_t kOpaqueAlpha = 0xFF000000u;
constexpr std::uint32_t kColourMask = 0x00FFFFFFu;

// A 32-bit picture may claim an alpha channel it does not use: every pixel opaque, or every
// pixel zero because the writer left the byte empty.
bool usesAlpha(const BgraPicture& picture) {
  bool anyTranslucent = false;
  bool anyVisible = false;
  for (const std::uint32_t pixel : picture.pixels) {
    anyTranslucent = anyTranslucent || alphaOf(pixel) != 255;
    anyVisible = anyVisible || alphaOf(pixel) != 0;
    if (anyTranslucent && anyVisible)
      return true;
  }
  return false;
}

std::uint32_t premultiplied(std::uint32_t pixel) {
  const std::uint32_t alpha = alphaOf(pixel);
  if (alpha == 255)
    return pixel;
  const auto channel = [&](int shift) {
    return (((pixel >> shift) & 0xFF) * alpha + 127) / 255 << shift;
  };
  return (alpha << 24) | channel(16) | channel(8) | channel(0);
}

}  // namespace

BgraPicture keyedForMode(BgraPicture picture, int transparentMode) {
  if (picture.isNull())
    return picture;
  if (transparentMode != kTransparentBackground) {
    for (std::uint32_t& pixel : picture.pixels) pixel |= kOpaqueAlpha;
    picture.opaque = true;
    return picture;
  }
  picture.opaque = false;
  if (usesAlpha(picture)) {
    for (std::uint32_t& pixel : picture.pixels) pixel = premultiplied(pixel);
    return picture;
  }
  const std::uint32_t key = picture.pixels.front() & kColourMask;
  for (std::uint32_t& pixel : picture.pixels)
    pixel = (pixel & kColourMask) == key ? 0 : (pixel | kOpaqueAlpha);
  return picture;
}

}  // namespace skyfare
