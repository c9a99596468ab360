#include "assets/little_endian.h"

#include <QSaveFile>

namespace skyfare::assets {

bool writeFileBytes(const QByteArray& bytes, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    return false;
  }
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace skyfare::assets
