#include "pictures/png_chunks.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace skyfare {
namespace {

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
  const ReadAt readAt = [&file](std::int64_t at, unsigned char* into, std::size_t count) {
    const unsigned char* bytes = file.bytesAt(at, static_cast<std::int64_t>(count));
    if (bytes == nullptr)
      return std::size_t{0};
    std::memcpy(into, bytes, count);
    return count;
  };
  return pngChunkProblem(readAt, fileBytes);
}

}  // namespace skyfare
