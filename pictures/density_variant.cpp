#include "pictures/density_variant.h"

#include "pictures/reduced_bmp.h"
#include "pictures/sprite_picture.h"
#include "raster/density_choice.h"
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
  sayPictureUnreadable(source->fileName,
                       again.image.isNull() ? again.problem : "it changed since it was loaded");
  return {};
}

}  // namespace skyfare
