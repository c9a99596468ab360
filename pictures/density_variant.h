#pragma once

#include <QImage>
#include <QSize>
#include <optional>
#include <string>

namespace skyfare {

// Where a sprite's picture was read from, for a picture that also comes at higher densities
// beside its 1× file (see raster/picture_density.h), and what that 1× picture is. Such a
// sprite lets go of its 1× pixels once its scaled pictures are made from them: a screen larger
// than the scene draws from the denser files, and a screen no larger that comes later reads the
// 1× file again.
struct DenseSource {
  std::string fileName;     // the 1× file
  int transparentMode = 0;  // how it was read
  QSize size;
  bool opaque = true;
};

// The denser file that a screen of the given scene scale draws the source's picture from, and
// that file's size in pixels; none at a scale the 1× file serves.
struct DenseFile {
  std::string name;
  QSize size;
};
std::optional<DenseFile> denseFileFor(const DenseSource& source, double scale);

// A sprite's picture as a screen of the given scene scale shows it, `size` pixels large. From
// the density the scale calls for when the picture has a dense source and that file is the
// same kind of picture (opaque or not) at exactly its density, averaged down as it is read, so
// only the screen-sized result is ever held; from the 1× picture, scaled smoothly, otherwise.
// `picture` is null for a sprite that let go of its 1× pixels; they are read again when needed,
// and a 1× file that is no longer the picture it was gives a null picture and one line.
QImage pictureForScreen(const QImage& picture, const DenseSource* source, double scale, QSize size);

}  // namespace skyfare
