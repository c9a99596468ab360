// The picture loader with the program's own limits: any file gives a picture no larger than
// the scene, or none, in bounded memory.
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

#include "controls/sprite_picture.h"
#include "core/controls/drawing_control.h"

namespace {

QTemporaryDir& pictureFolder() {
  static QTemporaryDir folder;
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString path = pictureFolder().filePath(QStringLiteral("picture"));
  {
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  for (const int mode : {skyfare::kOpaque, skyfare::kTransparentBackground}) {
    const skyfare::PictureRead read = skyfare::loadSpritePicture(path.toStdString(), mode);
    if (read.image.width() > skyfare::kSceneWidth || read.image.height() > skyfare::kSceneHeight)
      __builtin_trap();
  }
  return 0;
}
