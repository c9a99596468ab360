#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/bgra_picture.h"
#include "raster/pixel_rect.h"

namespace skyfare {

// The rows of a picture of premultiplied 0xAARRGGBB words that someone else holds, `strideWords`
// apart.
struct BgraRows {
  const std::uint32_t* first = nullptr;
  std::ptrdiff_t strideWords = 0;
  int width = 0;
  int height = 0;
  bool opaque = true;  // every alpha 255

  bool isNull() const { return width <= 0 || height <= 0; }
  std::uint32_t at(int x, int y) const { return first[y * strideWords + x]; }
};

// The part of a picture that can show when it is drawn, in the picture's pixels: for each band
// of kCoverageBandRows rows, the columns whose pixels are not wholly clear, widened by one pixel
// on every side for the spread of smooth scaling, and cut to the picture. An opaque picture
// covers all of itself; a null one nothing. Moving a sprite changes the screen only inside this
// part at its old and its new place, which for aircraft with clear corners is about half their
// rectangle.
PixelRects pictureCoverage(const BgraRows& picture);
PixelRects pictureCoverage(const BgraPicture& picture);

// Few enough rectangles that composing them one by one costs less than the pixels they save.
inline constexpr int kCoverageBandRows = 16;

}  // namespace skyfare
