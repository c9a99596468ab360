#include "pictures/sprite_picture.h"

#include "core/controls/drawing_control.h"

namespace skyfare {
namespace {

// A 32-bit picture may claim an alpha channel it does not use: every pixel opaque, or every
// pixel zero because the writer left the byte empty.
bool usesAlpha(const QImage& argb) {
  bool anyTranslucent = false;
  bool anyVisible = false;
  for (int y = 0; y < argb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width(); ++x) {
      const int alpha = qAlpha(line[x]);
      anyTranslucent = anyTranslucent || alpha != 255;
      anyVisible = anyVisible || alpha != 0;
    }
    if (anyTranslucent && anyVisible)
      return true;
  }
  return false;
}

QImage keyedOnTopLeft(const QImage& picture) {
  QImage argb =
      picture.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_ARGB32);
  const QRgb key = argb.pixel(0, 0) & RGB_MASK;
  for (int y = 0; y < argb.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
    for (int x = 0; x < argb.width(); ++x) {
      if ((line[x] & RGB_MASK) == key)
        line[x] = 0;
    }
  }
  return argb.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

PictureRead loadSpritePicture(const std::string& fileName, int transparentMode) {
  PictureRead read = readPicture(fileName, QSize(kSceneWidth, kSceneHeight));
  const QImage& picture = read.image;
  if (picture.isNull())
    return read;
  if (transparentMode != kTransparentBackground)
    return {picture.convertToFormat(QImage::Format_RGB888), {}};
  if (picture.hasAlphaChannel()) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    if (usesAlpha(argb))
      return {argb.convertToFormat(QImage::Format_ARGB32_Premultiplied), {}};
  }
  return {keyedOnTopLeft(picture), {}};
}

}  // namespace skyfare
