#include "platform/single_instance.h"

#include <cstdio>

#include "platform/runtime_folder.h"

namespace skyfare {
namespace {

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
  // Never stale by age: a running saver keeps it. One left by a crashed saver is taken over,
  // because its process is gone.
  lock_->setStaleLockTime(0);
  if (lock_->tryLock(0))
    return;
  // A live holder has written its process id into the lock; a file there that names none is no
  // instance's lock.
  qint64 pid = 0;
  QString host;
  QString application;
  heldElsewhere_ =
      lock_->error() == QLockFile::LockFailedError && lock_->getLockInfo(&pid, &host, &application);
  if (!heldElsewhere_)
    std::fprintf(stderr, "skyfare: cannot take the instance lock %s (%s); running without it\n",
                 qPrintable(lock_->fileName()), lockProblem(lock_->error()));
}

bool displaySettingsWindowOpen() {
  return false;
}

}  // namespace skyfare
