#include "platform/single_instance.h"

#include <QDir>
#include <QStandardPaths>

namespace skyfare {

SingleInstance::SingleInstance() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty())
    folder = QDir::tempPath();
  lock_ = std::make_unique<QLockFile>(folder + QStringLiteral("/skyfare-saver.lock"));
  // Never stale by age: a running saver keeps it. One left by a crashed saver is taken over,
  // because its process is gone.
  lock_->setStaleLockTime(0);
  held_ = lock_->tryLock(0);
}

bool displaySettingsWindowOpen() {
  return false;
}

}  // namespace skyfare
