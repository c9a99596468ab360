// The cost of preparing the program's pictures for a screen that enlarges the scene, once per
// screen before its first frame: from the denser files, and by enlarging the 1× files.
#include <benchmark/benchmark.h>

#include <QDir>
#include <cmath>

#include "core/controls/drawing_control.h"
#include "pictures/density_variant.h"
#include "pictures/sprite_picture.h"

namespace skyfare::bench {
namespace {

std::string dataFile(const char* name) {
  return QDir(QStringLiteral(SKYFARE_DATA_DIR)).filePath(QString::fromUtf8(name)).toStdString();
}

// Arguments: the picture (0 the city, 1 an airliner), the screen height, and whether the
// denser files are used.
void BM_PictureForScreen(benchmark::State& state) {
  const bool city = state.range(0) == 0;
  const double scale = static_cast<double>(state.range(1)) / 600.0;
  const std::string file = dataFile(city ? "city lights.bmp" : "jet07.bmp");
  const int mode = city ? kOpaque : kTransparentBackground;
  const QImage picture = loadSpritePicture(file, mode).image;
  const DenseSource source{file, mode, picture.size(), !picture.hasAlphaChannel()};
  const DenseSource* dense = state.range(2) != 0 ? &source : nullptr;
  const QSize size(static_cast<int>(std::lround(picture.width() * scale)),
                   static_cast<int>(std::lround(picture.height() * scale)));
  for (auto _ : state) benchmark::DoNotOptimize(pictureForScreen(picture, dense, scale, size));
  state.SetLabel(std::string(city ? "city" : "airliner") +
                 (dense ? " from denser file" : " enlarged"));
}
BENCHMARK(BM_PictureForScreen)
    ->ArgsProduct({{0, 1}, {1080, 2160}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace skyfare::bench
