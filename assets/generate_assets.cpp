// Generates the installation's pictures and sound into the folder named on the command line,
// or with --icons the desktop icon at the sizes given into an icon theme folder.
#include "assets/airliner_drawing.h"
#include "assets/app_icon.h"
#include "assets/bmp_file.h"
#include "assets/city_skyline.h"
#include "assets/fast_jet.h"
#include "assets/framed_bmp.h"
#include "assets/logo.h"
#include "assets/picture_density.h"
#include "assets/takeoff_sound.h"
#include "assets/wave_file.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace skyfare;
using namespace skyfare::assets;

// Writes every file; reports each one it cannot write and returns whether all were written.
// Each picture is written at 1× under its own name and at every density beside it.
bool generateInto(const QDir& folder) {
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
      const std::string variant = densityFileName(name, density);
      check(saveFramedBmp(draw(density), path(variant)), variant);
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

}  // namespace

int main(int argc, char** argv) {
  const bool icons = argc > 4 && std::strcmp(argv[1], "--icons") == 0;
  if (argc != 2 && !icons) {
    std::fprintf(stderr,
                 "usage: %s <output folder> | --icons <theme folder> <icon name> <size>...\n",
                 argv[0]);
    return 2;
  }
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QGuiApplication app(argc, argv);  // the logo's lettering needs the font database
  if (icons) {
    std::vector<int> sizesPx;
    for (int i = 4; i < argc; ++i) sizesPx.push_back(std::atoi(argv[i]));
    return writeAppIcons(QDir(QString::fromLocal8Bit(argv[2])), QString::fromLocal8Bit(argv[3]),
                         sizesPx)
               ? 0
               : 1;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  return generateInto(folder) ? 0 : 1;
}
