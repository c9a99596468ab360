#include "platform/sound_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/runtime_folder.h"

namespace skyfare {
namespace {

constexpr qint64 kRetryIntervalMs = 1000;

}  // namespace

SoundLock::SoundLock() {
  const QByteArray path = (runtimeFolder() + QStringLiteral("/skyfare-sound.lock")).toLocal8Bit();
  fd_ = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
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
