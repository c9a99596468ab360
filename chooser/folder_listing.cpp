#include "chooser/folder_listing.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include "chooser/path_rules.h"

namespace skyfare {

namespace {

QStringList entries(const QString& folder, QDir::Filters kind) {
  // Without QDir::Hidden and QDir::System, hidden entries and broken links stay out.
  return QDir(folder).entryList(kind | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

}  // namespace

QStringList matchingFiles(const QString& folder, const QString& pattern) {
  QStringList files;
  for (const QString& name : entries(folder, QDir::Files)) {
    if (matchesPattern(name, pattern))
      files.append(name);
  }
  return files;
}

QStringList subfolders(const QString& folder) {
  return entries(folder, QDir::Dirs);
}

bool canEnter(const QString& folder) {
  const QFileInfo info(folder);
  return info.isDir() && info.isReadable() && info.isExecutable();
}

QStringList volumeRoots() {
  QStringList roots;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (volume.isValid() && volume.isReady() && !roots.contains(volume.rootPath()))
      roots.append(volume.rootPath());
  }
  roots.removeAll(QStringLiteral("/"));
  roots.sort();
  roots.prepend(QStringLiteral("/"));
  return roots;
}

}  // namespace skyfare
