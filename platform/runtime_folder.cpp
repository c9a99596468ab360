#include "platform/runtime_folder.h"

#include <QDir>
#include <QStandardPaths>

namespace skyfare {

QString runtimeFolder() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return folder.isEmpty() ? QDir::tempPath() : folder;
}

}  // namespace skyfare
