#pragma once

#include <cstdint>
#include <vector>

namespace skyfare {

// A picture of 32-bit pixels as a top-down DIB holds them: 0xAARRGGBB in each word, so blue
// comes first in memory; colours premultiplied by alpha.
struct BgraPicture {
  int width = 0;
  int height = 0;
  bool opaque = true;  // every alpha 255
  std::vector<std::uint32_t> pixels;

  bool isNull() const { return width <= 0 || height <= 0; }
  std::uint32_t at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

inline constexpr std::uint32_t alphaOf(std::uint32_t pixel) {
  return pixel >> 24;
}

}  // namespace skyfare
