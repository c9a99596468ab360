#include "settings/config_folder.h"

#include <pwd.h>
#include <unistd.h>
#include <QDir>
#include <QStandardPaths>

#include <vector>

namespace skyfare {
namespace {

constexpr std::size_t kUserRecordBufferBytes = 16384;

QString accountHomeFolder() {
  passwd record{};
  passwd* found = nullptr;
  std::vector<char> buffer(kUserRecordBufferBytes);
  if (getpwuid_r(getuid(), &record, buffer.data(), buffer.size(), &found) != 0 ||
      found == nullptr || found->pw_dir == nullptr)
    return {};
  return QString::fromLocal8Bit(found->pw_dir);
}

}  // namespace

QString userConfigFolder() {
  if (qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME") && qEnvironmentVariableIsEmpty("HOME")) {
    const QString home = accountHomeFolder();
    if (!home.isEmpty())
      return QDir::cleanPath(home + QStringLiteral("/.config"));
  }
  return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

}  // namespace skyfare
