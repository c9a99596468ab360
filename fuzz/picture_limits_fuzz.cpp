// The checks the Windows picture reader makes of a file before its decoder sees it: what the
// first bytes declare, the size that allows, and a PNG's chunk headers. Any bytes are judged in
// bounded time, reading nothing outside the file, and a picture they pass is within the limits.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "raster/picture_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skyfare;
  const DeclaredPicture declared = declaredPicture(data, size);
  if (declared.kind == DeclaredPicture::Kind::Unknown)
    return 0;
  const std::string sizeProblem = declaredSizeProblem(declared.width, declared.height,
                                                      declared.bitsPerPixel, declared.decodesPart);
  const auto fileBytes = static_cast<std::int64_t>(size);
  const ReadAt readAt = [&](std::int64_t at, unsigned char* into, std::size_t count) {
    if (at < 0 || at >= fileBytes)
      return std::size_t{0};
    const std::size_t taken = std::min(count, size - static_cast<std::size_t>(at));
    std::memcpy(into, data + at, taken);
    return taken;
  };
  const std::string chunkProblem = pngChunkProblem(readAt, fileBytes);
  // A picture let through never needs more than the largest decode the reader allows.
  const double decodedBytes = static_cast<double>(declared.width) *
                              static_cast<double>(declared.height) * declared.bitsPerPixel / 8;
  if (sizeProblem.empty() &&
      decodedBytes >
          static_cast<double>(std::max(kLargestWholeDecodeBytes, kLargestPartlyDecodedBytes)))
    std::abort();
  if (chunkProblem.size() > 1000)  // one line, never the file's own bytes
    std::abort();
  return 0;
}
