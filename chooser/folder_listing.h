#pragma once

#include <QString>
#include <QStringList>

namespace skyfare {

// The ordinary, non-hidden files of a folder whose names match the pattern (see matchesPattern),
// sorted without regard to letter case.
QStringList matchingFiles(const QString& folder, const QString& pattern);

// The non-hidden subfolders of a folder, sorted without regard to letter case.
QStringList subfolders(const QString& folder);

// Whether the folder exists and its contents can be listed.
bool canEnter(const QString& folder);

// The roots of the mounted volumes that are ready, "/" first and the rest in order.
QStringList volumeRoots();

}  // namespace skyfare
