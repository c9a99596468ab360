#include "raster/scene_clip.h"

#include <algorithm>

#include "core/controls/drawing_control.h"

namespace skyfare {

PixelRect sceneClipped(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height) {
  const std::int64_t left = std::max<std::int64_t>(x, 0);
  const std::int64_t top = std::max<std::int64_t>(y, 0);
  const std::int64_t right = std::min<std::int64_t>(x + width, kSceneWidth);
  const std::int64_t bottom = std::min<std::int64_t>(y + height, kSceneHeight);
  if (width <= 0 || height <= 0 || left >= right || top >= bottom)
    return {};
  return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
          static_cast<int>(bottom - top)};
}

}  // namespace skyfare
