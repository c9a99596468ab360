#include "pictures/density_variant.h"

#include <iostream>

#include "pictures/reduced_bmp.h"
#include "pictures/sprite_picture.h"
#include "raster/picture_density.h"

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
    const QSize fileSize = source->size * density;
    const QImage dense = readReducedBmp(densityFileName(source->fileName, density), fileSize,
                                        size.boundedTo(fileSize), !source->opaque);
    if (!dense.isNull())
      return scaledSmoothly(dense, size);
  }
  if (!picture.isNull() || source == nullptr)
    return scaledSmoothly(picture, size);
  const PictureRead again = loadSpritePicture(source->fileName, source->transparentMode);
  if (again.image.size() == source->size && again.image.hasAlphaChannel() != source->opaque)
    return scaledSmoothly(again.image, size);
  std::cerr << "skyfare: cannot read picture " << source->fileName << ": "
            << (again.image.isNull() ? again.problem : "it changed since it was loaded") << '\n';
  return {};
}

}  // namespace skyfare
