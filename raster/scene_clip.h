#pragma once

#include <cstdint>

#include "raster/pixel_rect.h"

namespace skyfare {

// The rectangle of (x, y, width, height) inside the scene, computed without overflow for any
// position; empty when it lies wholly outside.
PixelRect sceneClipped(std::int64_t x, std::int64_t y, std::int64_t width, std::int64_t height);

}  // namespace skyfare
