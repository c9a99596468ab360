#include "platform/single_instance.h"

#include <cstdio>

#include "platform/runtime_folder.h"
#include "settings/dead_writer.h"

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
  // One left by a crashed saver is taken over at once.
  if (lockTakingOverDeadOne(*lock_))
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
