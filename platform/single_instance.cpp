#include "platform/single_instance.h"

#include <cstdio>

#include "platform/runtime_folder.h"

namespace skyfare {
namespace {

// Not shorter, because file times are coarser than a millisecond.
constexpr int kDeadLockAgeMs = 100;

const char* lockProblem(QLockFile::LockError error) {
  switch (error) {
    case QLockFile::PermissionError:
      return "permission denied";
    case QLockFile::LockFailedError:
      return "the file there is no instance's lock";
    default:
      return "it cannot be created";
  }
}

}  // namespace

SingleInstance::SingleInstance() {
  lock_ = std::make_unique<QLockFile>(runtimeFolder() + QStringLiteral("/skyfare-saver.lock"));
  // A running saver holds a lock on the file itself, which QLockFile never takes away however
  // old the file is; one left by a crashed saver is taken over at once, also when the saver
  // died before it could write its process id into it.
  lock_->setStaleLockTime(kDeadLockAgeMs);
  // Long enough for a lock that has just been left behind to count as dead.
  if (lock_->tryLock(2 * kDeadLockAgeMs))
    return;
  // A live holder has written its process id into the lock; a file there that names none is no
  // instance's lock.
  QString host;
  QString application;
  heldElsewhere_ = lock_->error() == QLockFile::LockFailedError &&
                   lock_->getLockInfo(&holderPid_, &host, &application);
  if (!heldElsewhere_)
    std::fprintf(stderr, "skyfare: cannot take the instance lock %s (%s); running without it\n",
                 qPrintable(lock_->fileName()), lockProblem(lock_->error()));
}

void SingleInstance::tellAnotherInstanceRuns() const {
  if (holderPid_ > 0) {
    std::fprintf(stderr, "skyfare: another Skyfare is running (pid %lld); this one ends\n",
                 static_cast<long long>(holderPid_));
  } else {
    std::fprintf(stderr, "skyfare: another Skyfare is running; this one ends\n");
  }
}

bool displaySettingsWindowOpen() {
  return false;
}

}  // namespace skyfare
