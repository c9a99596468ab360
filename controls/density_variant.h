#pragma once

#include <QImage>
#include <QSize>
#include <string>

namespace skyfare {

// Where a sprite's picture was read from, for a picture that also comes at higher densities
// beside its 1× file (see assets/picture_density.h).
struct DenseSource {
  std::string fileName;  // the 1× file
  int transparentMode = 0;
};

// The density to draw a picture from at a scene scale: none (0, the 1× picture) at a scale up
// to 1, otherwise the smallest density at least as large as the scale, or the largest when
// the scale is beyond them all.
int densityForScale(double scale);

// A sprite's picture as a screen of the given scene scale shows it, `size` pixels large. From
// the density the scale calls for when the picture has a dense source and that file reads as
// the same picture at its density, reduced smoothly; from the 1× picture otherwise. The dense
// file is read, reduced and dropped here, so only the screen-sized result stays.
QImage pictureForScreen(const QImage& picture, const DenseSource* source, double scale, QSize size);

}  // namespace skyfare
