#include "pictures/zstd_frames.h"

#include <zstd.h>

#include <utility>

namespace skyfare {

ZstdFrames::ZstdFrames(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {
  std::size_t at = 0;
  while (at < bytes_.size()) {
    const std::size_t compressed =
        ZSTD_findFrameCompressedSize(bytes_.data() + at, bytes_.size() - at);
    const unsigned long long decoded =
        ZSTD_getFrameContentSize(bytes_.data() + at, bytes_.size() - at);
    if (ZSTD_isError(compressed) || decoded == ZSTD_CONTENTSIZE_UNKNOWN ||
        decoded == ZSTD_CONTENTSIZE_ERROR) {
      frames_.clear();
      return;
    }
    frames_.push_back({at, compressed, decoded});
    at += compressed;
  }
}

bool ZstdFrames::decode(std::size_t frame, unsigned char* out) const {
  const Frame& f = frames_[frame];
  const std::size_t written =
      ZSTD_decompress(out, f.decodedBytes, bytes_.data() + f.offset, f.compressedBytes);
  return !ZSTD_isError(written) && written == f.decodedBytes;
}

}  // namespace skyfare
