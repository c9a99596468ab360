#include "pictures/png_chunks.h"

#include <unistd.h>

#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace skyfare {
namespace {

constexpr std::array<unsigned char, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::int64_t kChunkHeaderBytes = 8;  // length and type
constexpr std::int64_t kChunkCrcBytes = 4;
// The format allows no chunk longer than this.
constexpr std::uint32_t kLongestChunkBytes = 0x7FFFFFFF;
// Chunk headers are read through a window of the file, so a file of many small chunks costs
// one read per window and not one per chunk.
constexpr std::int64_t kWindowBytes = 64 << 10;

// Reads byte ranges of a file through one window.
class WindowedFile {
 public:
  WindowedFile(int fd, std::int64_t fileBytes) : fd_(fd), fileBytes_(fileBytes) {}

  // The `count` bytes at `at`, or null when the file does not hold them all.
  const unsigned char* bytesAt(std::int64_t at, std::int64_t count) {
    if (at + count > fileBytes_)
      return nullptr;
    if (at < windowStart_ ||
        at + count > windowStart_ + static_cast<std::int64_t>(window_.size())) {
      window_.resize(static_cast<std::size_t>(std::min(kWindowBytes, fileBytes_ - at)));
      const ssize_t got = pread(fd_, window_.data(), window_.size(), at);
      window_.resize(static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
      windowStart_ = at;
      if (static_cast<std::int64_t>(window_.size()) < count)
        return nullptr;
    }
    return window_.data() + (at - windowStart_);
  }

 private:
  int fd_;
  std::int64_t fileBytes_;
  std::vector<unsigned char> window_;
  std::int64_t windowStart_ = 0;
};

}  // namespace

std::string pngChunkProblem(int fd, std::int64_t fileBytes) {
  WindowedFile file(fd, fileBytes);
  const unsigned char* signature = file.bytesAt(0, kSignature.size());
  if (!signature || std::memcmp(signature, kSignature.data(), kSignature.size()) != 0)
    return {};
  std::int64_t at = kSignature.size();
  // A file that ends before its closing chunk is the decoder's to judge; only the claims of
  // the chunks it holds are checked here.
  while (const unsigned char* header = file.bytesAt(at, kChunkHeaderBytes)) {
    const auto length = qFromBigEndian<std::uint32_t>(header);
    if (std::memcmp(header + 4, "IEND", 4) == 0)
      break;
    if (length > kLongestChunkBytes)
      return "a damaged PNG (a part longer than the format allows)";
    // Image data is decoded as it streams in; only the other chunks are taken whole.
    if (std::memcmp(header + 4, "IDAT", 4) != 0) {
      if (length > fileBytes - at - kChunkHeaderBytes - kChunkCrcBytes)
        return "a damaged PNG (a part runs past the end of the file)";
      if (length > kLargestPngSideChunkBytes)
        return "a PNG with a part too large to read (" + std::to_string(length) + " bytes)";
    }
    at += kChunkHeaderBytes + length + kChunkCrcBytes;
  }
  return {};
}

}  // namespace skyfare
