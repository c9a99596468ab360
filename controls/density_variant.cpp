#include "controls/density_variant.h"

#include "assets/picture_density.h"
#include "controls/sprite_picture.h"

namespace skyfare {
namespace {

QImage scaledSmoothly(const QImage& picture, QSize size) {
  if (picture.size() == size)
    return picture;
  return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(picture.format());
}

// The picture at the density, or a null image when its file is missing, unreadable or not
// the 1× picture's match in size and kind.
QImage densePicture(const QImage& picture, const DenseSource& source, int density) {
  QImage dense =
      loadSpritePicture(densityFileName(source.fileName, density), source.transparentMode);
  if (dense.size() != picture.size() * density || dense.format() != picture.format())
    return {};
  // Qt reads a "…@2x" file as a picture for a device pixel ratio of 2; here a pixel is a pixel.
  dense.setDevicePixelRatio(1.0);
  return dense;
}

}  // namespace

int densityForScale(double scale) {
  if (scale <= 1.0)
    return 0;
  for (const int density : kPictureDensities) {
    if (density >= scale)
      return density;
  }
  return kPictureDensities.back();
}

QImage pictureForScreen(const QImage& picture, const DenseSource* source, double scale,
                        QSize size) {
  const int density = densityForScale(scale);
  if (source != nullptr && density != 0) {
    const QImage dense = densePicture(picture, *source, density);
    if (!dense.isNull())
      return scaledSmoothly(dense, size);
  }
  return scaledSmoothly(picture, size);
}

}  // namespace skyfare
