#include "controls/density_variant.h"

#include "assets/picture_density.h"
#include "controls/reduced_bmp.h"

namespace skyfare {
namespace {

QImage scaledSmoothly(const QImage& picture, QSize size) {
  if (picture.size() == size)
    return picture;
  return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
      .convertToFormat(picture.format());
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
    // Beyond the largest density the file is read at its own size and enlarged after.
    const QSize fileSize = picture.size() * density;
    const QImage dense = readReducedBmp(densityFileName(source->fileName, density), fileSize,
                                        size.boundedTo(fileSize), picture.hasAlphaChannel());
    if (!dense.isNull())
      return scaledSmoothly(dense, size);
  }
  return scaledSmoothly(picture, size);
}

}  // namespace skyfare
