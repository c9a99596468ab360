// The reader of the data folder's dense pictures: any file gives a picture of the asked size or
// none, decoding no more than one band of rows per thread at a time.
#include <cstddef>
#include <cstdint>

#include "fuzz/input_file.h"
#include "pictures/reduced_bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString path = writeFuzzInput(QStringLiteral("picture@2x.bmp.zst"), data, size);
  // The sizes of the seed: a 40 × 30 picture drawn at twice the density, shown at 1.5.
  const QSize fileSize(80, 60);
  const QSize shown(60, 45);
  for (const bool withAlpha : {false, true}) {
    const QImage picture = skyfare::readReducedBmp(path.toStdString(), fileSize, shown, withAlpha);
    if (!picture.isNull() && picture.size() != shown)
      __builtin_trap();
  }
  return 0;
}
