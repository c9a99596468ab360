#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace skyfare {

// The folder and the name with exactly one "/" between them, so the root gives "/sky.bmp".
QString joinFolderAndName(const QString& folder, const QString& name);

// Whether a file name matches a pattern of "*" (any run) and "?" (any one character), ignoring
// letter case as the picture files' home platform does. "*.*" matches every name, with or
// without an extension.
bool matchesPattern(const QString& name, const QString& pattern);

// The path that OK stores: the folder joined to the name when the name box holds exactly the
// selected file's name, otherwise the typed text as it stands. Nothing for an empty name box.
std::optional<QString> chosenPath(const QString& folder, const QString& typedName,
                                  const QString& selectedName);

// The folders from the root down to the given absolute folder, the folder itself last.
QStringList ancestorsOf(const QString& folder);

// The root of the volume that holds the path: the longest root that contains it, or "/".
QString volumeOf(const QString& path, const QStringList& roots);

}  // namespace skyfare
