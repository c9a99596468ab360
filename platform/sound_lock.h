#pragma once

#include <QElapsedTimer>

namespace skyfare {

// The per-user lock that decides which saver of a host session is heard. It is an advisory
// lock on a file in the runtime folder, so the kernel frees it the moment its holder ends,
// however it ends. Once taken it is held for the life of the object. A file that cannot be
// opened is never taken, and that is told once on standard error.
class SoundLock {
 public:
  SoundLock();
  ~SoundLock();
  SoundLock(const SoundLock&) = delete;
  SoundLock& operator=(const SoundLock&) = delete;

  // True once held. While another process holds it, the file system is asked at most once a
  // second, however often this is called.
  bool tryTake();

 private:
  int fd_ = -1;
  bool held_ = false;
  QElapsedTimer sinceLastTry_;
};

}  // namespace skyfare
