#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "raster/bgra_picture.h"

namespace skyfare {

// A premultiplied picture kept as runs of equal pixels, row by row, without loss. The program's
// pictures at a screen's scale are flat colours on clear surroundings: at 1920 × 1080 the
// airliners, the jet, the logo and the city take an eighth of the bytes their pixels would, and a
// painter skips a clear run and fills an opaque one instead of reading every pixel.
class RunPicture {
 public:
  struct Run {
    std::uint32_t pixel;
    std::uint32_t length;
  };

  RunPicture() = default;
  explicit RunPicture(const BgraPicture& picture);

  int width() const { return width_; }
  int height() const { return height_; }
  bool opaque() const { return opaque_; }
  bool isNull() const { return width_ <= 0 || height_ <= 0; }
  // The runs of row y, left to right; their lengths add up to the width.
  std::span<const Run> row(int y) const {
    return {runs_.data() + rowStarts_[static_cast<std::size_t>(y)],
            runs_.data() + rowStarts_[static_cast<std::size_t>(y) + 1]};
  }
  std::size_t bytes() const {
    return runs_.size() * sizeof(Run) + rowStarts_.size() * sizeof(std::uint32_t);
  }

  BgraPicture unpacked() const;

 private:
  int width_ = 0;
  int height_ = 0;
  bool opaque_ = true;
  std::vector<Run> runs_;
  std::vector<std::uint32_t> rowStarts_;  // one per row and one past the last
};

}  // namespace skyfare
