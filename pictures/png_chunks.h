#pragma once

#include <cstdint>
#include <string>

namespace skyfare {

// The PNG decoder allocates the whole of every chunk but the image data before it reads it, so
// a chunk's declared length is what one file may make it take. A chunk other than image data
// larger than this carries nothing a picture here needs.
inline constexpr std::int64_t kLargestPngSideChunkBytes = 8LL << 20;

// Walks the chunks of a PNG in the open file, reading only their headers. Returns why the
// decoder must not see it, in a few words: a chunk that claims more than the file holds, or
// more than kLargestPngSideChunkBytes. Returns an empty text for any other file.
std::string pngChunkProblem(int fd, std::int64_t fileBytes);

}  // namespace skyfare
