// The picture loader with the program's own limits: any file gives a picture no larger than
// the scene, or none, in bounded memory.
#include <cstddef>
#include <cstdint>

#include "core/controls/drawing_control.h"
#include "fuzz/input_file.h"
#include "pictures/sprite_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString path = writeFuzzInput(QStringLiteral("picture"), data, size);
  for (const int mode : {skyfare::kOpaque, skyfare::kTransparentBackground}) {
    const skyfare::PictureRead read = skyfare::loadSpritePicture(path.toStdString(), mode);
    if (read.image.width() > skyfare::kSceneWidth || read.image.height() > skyfare::kSceneHeight)
      __builtin_trap();
  }
  return 0;
}
