#include "raster/picture_coverage.h"

#include <algorithm>
#include <utility>

namespace skyfare {
namespace {

// The columns with anything to show in rows top … bottom - 1; left > right when none.
std::pair<int, int> shownColumns(const BgraRows& picture, int top, int bottom) {
  int left = picture.width;
  int right = -1;
  for (int y = std::max(top, 0); y < std::min(bottom, picture.height); ++y) {
    for (int x = 0; x < picture.width; ++x) {
      if (alphaOf(picture.at(x, y)) != 0) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  }
  return {left, right};
}

}  // namespace

PixelRects pictureCoverage(const BgraRows& picture) {
  if (picture.isNull())
    return {};
  const PixelRect whole{0, 0, picture.width, picture.height};
  if (picture.opaque)
    return {whole};
  PixelRects coverage;
  for (int top = 0; top < picture.height; top += kCoverageBandRows) {
    const int bottom = std::min(top + kCoverageBandRows, picture.height);
    // The rows just above and below count too: smooth scaling spreads them into the band.
    const auto [left, right] = shownColumns(picture, top - 1, bottom + 1);
    if (left > right)
      continue;
    const PixelRect band =
        PixelRect{left - 1, top, right - left + 3, bottom - top}.intersected(whole);
    // Bands of one width make one rectangle.
    if (!coverage.empty() && coverage.back().x == band.x && coverage.back().width == band.width &&
        coverage.back().bottom() == band.y)
      coverage.back().height += band.height;
    else
      coverage.push_back(band);
  }
  return coverage;
}

PixelRects pictureCoverage(const BgraPicture& picture) {
  return pictureCoverage(BgraRows{picture.pixels.data(), picture.width, picture.width,
                                  picture.height, picture.opaque});
}

}  // namespace skyfare
