#include "platform/single_instance.h"

#include "platform/runtime_folder.h"

namespace skyfare {
namespace {

// Not shorter, because file times are coarser than a millisecond.
constexpr int kDeadLockAgeMs = 100;

}  // namespace

SingleInstance::SingleInstance() {
  lock_ = std::make_unique<QLockFile>(runtimeFolder() + QStringLiteral("/skyfare-saver.lock"));
  // A running saver holds a lock on the file itself, which QLockFile never takes away however
  // old the file is; one left by a crashed saver is taken over at once, also when the saver
  // died before it could write its process id into it.
  lock_->setStaleLockTime(kDeadLockAgeMs);
  // Long enough for a lock that has just been left behind to count as dead.
  held_ = lock_->tryLock(2 * kDeadLockAgeMs);
}

bool displaySettingsWindowOpen() {
  return false;
}

}  // namespace skyfare
