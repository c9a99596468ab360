#include "raster/run_picture.h"

#include <algorithm>

namespace skyfare {
namespace {

// Calls run(pixel, length) for each run of equal pixels of the row.
template <typename Each>
void forEachRun(const std::uint32_t* row, int width, Each run) {
  for (int x = 0; x < width;) {
    int end = x + 1;
    while (end < width && row[end] == row[x]) ++end;
    run(row[x], static_cast<std::uint32_t>(end - x));
    x = end;
  }
}

}  // namespace

RunPicture::RunPicture(const BgraPicture& picture) {
  if (picture.isNull() ||
      picture.pixels.size() < static_cast<std::size_t>(picture.width) * picture.height)
    return;
  const auto rowOf = [&picture](int y) {
    return picture.pixels.data() + static_cast<std::size_t>(y) * picture.width;
  };
  // Counted first, so the runs take exactly their room and never twice it while they grow.
  std::size_t count = 0;
  for (int y = 0; y < picture.height; ++y)
    forEachRun(rowOf(y), picture.width, [&count](std::uint32_t, std::uint32_t) { ++count; });
  runs_.reserve(count);
  rowStarts_.reserve(static_cast<std::size_t>(picture.height) + 1);
  for (int y = 0; y < picture.height; ++y) {
    rowStarts_.push_back(static_cast<std::uint32_t>(runs_.size()));
    forEachRun(rowOf(y), picture.width, [this](std::uint32_t pixel, std::uint32_t length) {
      runs_.push_back({pixel, length});
    });
  }
  rowStarts_.push_back(static_cast<std::uint32_t>(runs_.size()));
  width_ = picture.width;
  height_ = picture.height;
  opaque_ = picture.opaque;
}

BgraPicture RunPicture::unpacked() const {
  if (isNull())
    return {};
  BgraPicture picture{width_, height_, opaque_, {}};
  picture.pixels.reserve(static_cast<std::size_t>(width_) * height_);
  for (const Run& run : runs_) picture.pixels.insert(picture.pixels.end(), run.length, run.pixel);
  return picture;
}

}  // namespace skyfare
