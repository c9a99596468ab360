#include "platform/single_instance.h"

#include "platform/runtime_folder.h"

namespace skyfare {

SingleInstance::SingleInstance() {
  lock_ = std::make_unique<QLockFile>(runtimeFolder() + QStringLiteral("/skyfare-saver.lock"));
  // Never stale by age: a running saver keeps it. One left by a crashed saver is taken over,
  // because its process is gone.
  lock_->setStaleLockTime(0);
  held_ = lock_->tryLock(0);
}

bool displaySettingsWindowOpen() {
  return false;
}

}  // namespace skyfare
