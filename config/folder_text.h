#pragma once

#include <QString>
#include <string>

namespace skyfare {

// The data folder as the dialog's texts name it: without its trailing "/", unless it is the
// root itself.
inline QString folderForDisplay(const std::string& dataFolder) {
  QString folder = QString::fromStdString(dataFolder);
  if (folder.size() > 1 && folder.endsWith(u'/'))
    folder.chop(1);
  return folder;
}

}  // namespace skyfare
