#pragma once

#include <QImage>

#include <random>

namespace skyfare::testing {

// A picture in which no two neighbouring pixels are likely alike, so a part put in the wrong
// place or left out shows.
inline QImage noisePicture(QSize size, unsigned seed) {
  QImage picture(size, QImage::Format_RGB32);
  std::mt19937 random(seed);
  for (int y = 0; y < size.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
    for (int x = 0; x < size.width(); ++x) line[x] = 0xFF000000U | (random() & 0xFFFFFFU);
  }
  return picture;
}

}  // namespace skyfare::testing
