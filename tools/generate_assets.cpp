// Generates the installation's pictures and sound into the folder named on the command line;
// with --windows the Windows data folder instead, with --icons the desktop icon at the sizes
// given into an icon theme folder, with --ico the program's Windows icon file.
#include "assets/airliner_drawing.h"
#include "assets/app_icon.h"
#include "assets/bmp_file.h"
#include "assets/city_skyline.h"
#include "assets/fast_jet.h"
#include "assets/framed_bmp.h"
#include "assets/ico_file.h"
#include "assets/logo.h"
#include "assets/takeoff_sound.h"
#include "assets/wave_file.h"
#include "raster/picture_density.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace skyfare;
using namespace skyfare::assets;

// Where the pictures drawn at a density go: zstd frames for Linux, PNG for Windows, which has
// no zstd.
enum class DensityFiles { Framed, Png };

// Writes every file; reports each one it cannot write and returns whether all were written.
// Each picture is written at 1× under its own name and at every density beside it.
bool generateInto(const QDir& folder, DensityFiles densityFiles) {
  bool allWritten = true;
  const auto path = [&](const std::string& name) {
    return folder.filePath(QString::fromStdString(name));
  };
  const auto check = [&](bool written, const std::string& name) {
    if (!written) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path(name)));
      allWritten = false;
    }
  };
  const auto savePicture = [&](const std::string& name,
                               const std::function<QImage(double density)>& draw) {
    check(saveBmp(draw(1.0), path(name)), name);
    for (const int density : kPictureDensities) {
      if (densityFiles == DensityFiles::Framed) {
        const std::string variant = densityFileName(name, density);
        check(saveFramedBmp(draw(density), path(variant)), variant);
      } else {
        constexpr int kSmallestFileQuality = 0;
        const std::string variant = densityPngFileName(name, density);
        check(draw(density).save(path(variant), "PNG", kSmallestFileQuality), variant);
      }
    }
  };

  for (const AirlinerLook& look : airlinerFleet()) {
    savePicture(look.fileName, [&](double density) { return drawAirliner(look, density); });
  }
  savePicture("FastJet.bmp", drawFastJet);
  savePicture("city lights.bmp", drawCitySkyline);
  savePicture("SF-Logo.bmp", drawLogo);
  check(saveWave(synthesiseTakeoff(), kTakeoffSampleRateHz, path("takeoff.wav")), "takeoff.wav");
  return allWritten;
}

bool writeIco(const QString& path, const std::vector<int>& sizesPx) {
  std::vector<QImage> sizes;
  for (const int sizePx : sizesPx) sizes.push_back(sizePx > 0 ? drawAppIcon(sizePx) : QImage());
  if (saveIco(sizes, path))
    return true;
  std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
  return false;
}

std::vector<int> sizesFrom(int argc, char** argv, int first) {
  std::vector<int> sizesPx;
  for (int i = first; i < argc; ++i) sizesPx.push_back(std::atoi(argv[i]));
  return sizesPx;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  const bool icons = argc > 4 && mode == "--icons";
  const bool ico = argc > 3 && mode == "--ico";
  const bool windows = argc == 3 && mode == "--windows";
  if (argc != 2 && !icons && !ico && !windows) {
    std::fprintf(stderr,
                 "usage: %s <output folder> | --windows <output folder>\n"
                 "       | --icons <theme folder> <icon name> <size>... | --ico <file> <size>...\n",
                 argv[0]);
    return 2;
  }
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication app(argc, argv);  // the logo's lettering needs the font database
  if (icons) {
    return writeAppIcons(QDir(QString::fromLocal8Bit(argv[2])), QString::fromLocal8Bit(argv[3]),
                         sizesFrom(argc, argv, 4))
               ? 0
               : 1;
  }
  if (ico)
    return writeIco(QString::fromLocal8Bit(argv[2]), sizesFrom(argc, argv, 3)) ? 0 : 1;
  const char* folderName = argv[windows ? 2 : 1];
  const QDir folder(QString::fromLocal8Bit(folderName));
  if (!folder.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "cannot create %s\n", folderName);
    return 1;
  }
  return generateInto(folder, windows ? DensityFiles::Png : DensityFiles::Framed) ? 0 : 1;
}
