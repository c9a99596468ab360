#include "files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace skyfare {

RegularFile::RegularFile(const std::string& path) {
  // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd_ < 0) {
    problem_ = std::strerror(errno);
    return;
  }
  struct stat info {};
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    problem_ = "not a regular file";
    ::close(fd_);
    fd_ = -1;
    return;
  }
  sizeBytes_ = info.st_size;
}

RegularFile::~RegularFile() {
  if (fd_ >= 0)
    ::close(fd_);
}

std::optional<std::vector<unsigned char>> RegularFile::readAll(std::int64_t maxBytes) {
  if (fd_ < 0 || sizeBytes_ > maxBytes)
    return std::nullopt;
  std::vector<unsigned char> content(static_cast<std::size_t>(sizeBytes_));
  std::size_t done = 0;
  while (done < content.size()) {
    const ssize_t count =
        ::pread(fd_, content.data() + done, content.size() - done, static_cast<off_t>(done));
    if (count < 0 && errno == EINTR)
      continue;
    if (count <= 0)
      break;
    done += static_cast<std::size_t>(count);
  }
  // A file that shrank while being read keeps what was there.
  content.resize(done);
  return content;
}

}  // namespace skyfare
