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

std::optional<DenseFile> denseFileFor(const DenseSource& source, double scale) {
  const int density = densityForScale(scale);
  if (density == 0)
    return std::nullopt;
  return DenseFile{densityFileName(source.fileName, density), source.size * density};
}

QImage pictureForScreen(const QImage& picture, const DenseSource* source, double scale,
                        QSize size) {
  if (const auto file = source != nullptr ? denseFileFor(*source, scale) : std::nullopt) {
    // Beyond the largest density the file is read at its own size and enlarged after.
    const QImage dense =
        readReducedBmp(file->name, file->size, size.boundedTo(file->size), !source->opaque);
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
