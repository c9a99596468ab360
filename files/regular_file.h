#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skyfare {

// A file opened for reading only when it is a regular file. The open never waits: a FIFO, a
// device or a socket is refused at once, so nothing named in the settings or found in the data
// folder can hold the program in open() or feed it without end.
class RegularFile {
 public:
  explicit RegularFile(const std::string& path);
  ~RegularFile();
  RegularFile(const RegularFile&) = delete;
  RegularFile& operator=(const RegularFile&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  int fd() const { return fd_; }
  std::int64_t sizeBytes() const { return sizeBytes_; }
  // Why the file is not open, in a few words for a one-line message.
  const std::string& problem() const { return problem_; }

  // The whole content, or nothing when it is larger than maxBytes or cannot be read.
  std::optional<std::vector<unsigned char>> readAll(std::int64_t maxBytes);

 private:
  int fd_ = -1;
  std::int64_t sizeBytes_ = 0;
  std::string problem_;
};

}  // namespace skyfare
