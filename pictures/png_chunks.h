#pragma once

#include <cstdint>
#include <string>

#include "raster/picture_limits.h"

namespace skyfare {

// pngChunkProblem over the open file, reading chunk headers through one window of it, so a file
// of many small chunks costs one read per window and not one per chunk.
std::string pngChunkProblem(int fd, std::int64_t fileBytes);

}  // namespace skyfare
