#include "platform/sound_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/runtime_folder.h"

namespace skyfare {
namespace {

constexpr qint64 kRetryIntervalMs = 1000;

}  // namespace

SoundLock::SoundLock() {
  const QByteArray path = (runtimeFolder() + QStringLiteral("/skyfare-sound.lock")).toLocal8Bit();
  fd_ = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd_ < 0) {
    std::fprintf(stderr, "skyfare: cannot open the sound lock %s (%s); this saver stays silent\n",
                 path.constData(), std::strerror(errno));
  }
}

SoundLock::~SoundLock() {
  if (fd_ >= 0)
    close(fd_);
}

bool SoundLock::tryTake() {
  if (held_ || fd_ < 0)
    return held_;
  if (sinceLastTry_.isValid() && sinceLastTry_.elapsed() < kRetryIntervalMs)
    return false;
  sinceLastTry_.start();
  held_ = flock(fd_, LOCK_EX | LOCK_NB) == 0;
  return held_;
}

}  // namespace skyfare
