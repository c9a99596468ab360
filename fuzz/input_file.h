#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

// Writes a fuzz input to a file of the given name in a folder that lives as long as the
// fuzzer, for the readers that take a path; returns the path.
inline QString writeFuzzInput(const QString& name, const std::uint8_t* data, std::size_t size) {
  static QTemporaryDir folder;
  const QString path = folder.filePath(name);
  QFile file(path);
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  return path;
}
