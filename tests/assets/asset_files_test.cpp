#include "wave_reading.h"

#include "core/saver/aircraft_table.h"
#include "pictures/zstd_frames.h"
#include "raster/picture_density.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace skyfare::testing {
namespace {

enum class Flight { Left, Right };

constexpr int kWidthTolerancePx = 3;

// Each airliner is as wide as the distance it flies off the scene before it parks.
int parkedWidthPx(const AirlinerRow& row) {
  return row.fliesRight() ? -row.startX : -row.parkLine;
}

// The pictures the session draws: the fast jet, the fifteen airliners, the background, the logo.
std::vector<std::string> pictures() {
  std::vector<std::string> files{std::string(kFastJet.bitmapFile)};
  for (const AirlinerRow& row : kAirliners) files.emplace_back(row.bitmapFile);
  files.insert(files.end(), {"city lights.bmp", "SF-Logo.bmp"});
  return files;
}

// Made from a real frame of the saver, after the files above.
const char* const kPreviewFile = "preview.bmp";

QString dataPath(const std::string& file) {
  return QDir(QStringLiteral(SKYFARE_DATA_DIR)).filePath(QString::fromStdString(file));
}

// Every file the generator writes: the list above and each picture at every density.
std::vector<std::string> allGeneratedFiles() {
  std::vector<std::string> files = pictures();
  files.emplace_back("takeoff.wav");
  for (const std::string& picture : pictures()) {
    for (const int density : kPictureDensities) files.push_back(densityFileName(picture, density));
  }
  return files;
}

// The mean difference per colour channel, 0 to 255, of two pictures of one size, composed over
// a mid grey so that transparent pixels count by what they would show.
double meanChannelDifference(const QImage& a, const QImage& b) {
  const auto onGrey = [](const QImage& picture) {
    QImage flat(picture.size(), QImage::Format_RGB32);
    flat.fill(QColor(128, 128, 128));
    QPainter(&flat).drawImage(0, 0, picture);
    return flat;
  };
  const QImage flatA = onGrey(a);
  const QImage flatB = onGrey(b);
  double sum = 0.0;
  for (int y = 0; y < flatA.height(); ++y) {
    for (int x = 0; x < flatA.width(); ++x) {
      const QRgb one = flatA.pixel(x, y);
      const QRgb other = flatB.pixel(x, y);
      sum += std::abs(qRed(one) - qRed(other)) + std::abs(qGreen(one) - qGreen(other)) +
             std::abs(qBlue(one) - qBlue(other));
    }
  }
  return sum / (3.0 * flatA.width() * flatA.height());
}

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The bitmap a file holds: the file itself, or all its frames decoded for a ".zst" one.
QByteArray bmpBytes(const std::string& file) {
  const QByteArray bytes = fileBytes(dataPath(file));
  if (!file.ends_with(".zst"))
    return bytes;
  const ZstdFrames frames(std::vector<unsigned char>(bytes.begin(), bytes.end()));
  QByteArray bmp;
  for (std::size_t frame = 0; frame < frames.count(); ++frame) {
    QByteArray decoded(static_cast<qsizetype>(frames.decodedBytes(frame)), '\0');
    if (!frames.decode(frame, reinterpret_cast<unsigned char*>(decoded.data())))
      return {};
    bmp += decoded;
  }
  return bmp;
}

int bmpBitsPerPixel(const QByteArray& bytes) {
  return bytes.size() < 30
             ? 0
             : static_cast<std::uint8_t>(bytes[28]) | (static_cast<std::uint8_t>(bytes[29]) << 8);
}

// Qt gives a picture named "…@2x" a device pixel ratio of 2; here every pixel counts as one.
QImage loadSprite(const std::string& file) {
  QImage picture = QImage::fromData(bmpBytes(file), "BMP").convertToFormat(QImage::Format_ARGB32);
  picture.setDevicePixelRatio(1.0);
  return picture;
}

int opaqueCount(const QImage& image, int fromX, int toX, int fromY, int toY) {
  int count = 0;
  for (int y = fromY; y < toY; ++y) {
    for (int x = fromX; x < toX; ++x) {
      count += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
    }
  }
  return count;
}

void expectTransparentCornersAndSolidMiddle(const QImage& image, const QString& name) {
  const int right = image.width() - 1;
  const int bottom = image.height() - 1;
  for (const QPoint corner :
       {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)}) {
    EXPECT_EQ(qAlpha(image.pixel(corner)), 0)
        << qPrintable(name) << " corner " << corner.x() << "," << corner.y();
  }
  const int middle = image.width() / 2;
  EXPECT_GT(opaqueCount(image, middle, middle + 1, 0, image.height()), image.height() / 8)
      << qPrintable(name) << " is not solid across its middle";
}

// Leading third (towards the nose) against the trailing third, in the upper quarter where only
// the tail fin reaches.
void expectFinOnTrailingSide(const QImage& image, Flight flight, const QString& name) {
  const int third = image.width() / 3;
  const int fin = image.height() / 4;
  const int left = opaqueCount(image, 0, third, 0, fin);
  const int right = opaqueCount(image, image.width() - third, image.width(), 0, fin);
  if (flight == Flight::Right) {
    EXPECT_GT(left, 4 * right + 20) << qPrintable(name) << " has its fin at the nose side";
  } else {
    EXPECT_GT(right, 4 * left + 20) << qPrintable(name) << " has its fin at the nose side";
  }
}

// A half-transparent edge pixel must carry the aircraft's colour, not a colour darkened by its
// own alpha (which shows as a dark fringe once drawn).
void expectNoDarkFringe(const QImage& image, const QString& name) {
  double edgeLight = 0.0;
  double innerLight = 0.0;
  int pairs = 0;
  for (int y = 1; y + 1 < image.height(); ++y) {
    for (int x = 1; x + 1 < image.width(); ++x) {
      const QRgb edge = image.pixel(x, y);
      if (qAlpha(edge) == 0 || qAlpha(edge) > 128) {
        continue;
      }
      for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
        const QRgb inner = image.pixel(QPoint(x, y) + step);
        if (qAlpha(inner) == 255) {
          edgeLight += qGray(edge);
          innerLight += qGray(inner);
          ++pairs;
          break;
        }
      }
    }
  }
  ASSERT_GT(pairs, 50) << qPrintable(name) << " has no antialiased edge";
  EXPECT_GT(edgeLight / innerLight, 0.75) << qPrintable(name) << " has a dark fringe";
}

TEST(AssetFiles, TheDataFolderHoldsEveryGeneratedFile) {
  for (const std::string& file : allGeneratedFiles()) {
    EXPECT_GT(QFileInfo(dataPath(file)).size(), 0) << file;
  }
  EXPECT_GT(QFileInfo(dataPath(kPreviewFile)).size(), 0);
}

TEST(AssetFiles, AirlinersFitTheirParkLinesFaceTheirFlightAndHaveCleanEdges) {
  for (const AirlinerRow& row : kAirliners) {
    const std::string file(row.bitmapFile);
    const QString name = QString::fromStdString(file);
    const QByteArray bytes = fileBytes(dataPath(file));
    EXPECT_EQ(bmpBitsPerPixel(bytes), 32) << file;
    const QImage image = loadSprite(file);
    ASSERT_FALSE(image.isNull()) << file;
    EXPECT_LE(std::abs(image.width() - parkedWidthPx(row)), kWidthTolerancePx) << file;
    EXPECT_GE(image.height(), 70) << file;
    EXPECT_LE(image.height(), 130) << file;
    expectTransparentCornersAndSolidMiddle(image, name);
    expectFinOnTrailingSide(image, row.fliesRight() ? Flight::Right : Flight::Left, name);
    expectNoDarkFringe(image, name);
  }
}

TEST(AssetFiles, FastJetIsASmallTransparentSpriteFlyingLeft) {
  const QImage image = loadSprite("FastJet.bmp");
  ASSERT_FALSE(image.isNull());
  EXPECT_LE(image.width(), 300);
  EXPECT_LE(image.height(), 100);
  expectTransparentCornersAndSolidMiddle(image, QStringLiteral("FastJet.bmp"));
  expectFinOnTrailingSide(image, Flight::Left, QStringLiteral("FastJet.bmp"));
  expectNoDarkFringe(image, QStringLiteral("FastJet.bmp"));
}

TEST(AssetFiles, BackgroundLogoAndPreviewAreOpaqueAndOfTheirSizes) {
  struct Row {
    const char* file;
    int maxWidthPx;
    int maxHeightPx;
    int exactWidthPx;  // 0 when only the maximum counts
    int bitsPerPixel;
  };
  const Row rows[] = {
      {"city lights.bmp", 800, 600, 800, 24},
      {"SF-Logo.bmp", 200, 80, 0, 24},
      {"preview.bmp", 153, 112, 153, 8},
  };
  for (const Row& row : rows) {
    const QImage image(dataPath(row.file));
    ASSERT_FALSE(image.isNull()) << row.file;
    EXPECT_FALSE(image.hasAlphaChannel()) << row.file;
    EXPECT_LE(image.width(), row.maxWidthPx) << row.file;
    EXPECT_LE(image.height(), row.maxHeightPx) << row.file;
    if (row.exactWidthPx != 0) {
      EXPECT_EQ(image.width(), row.exactWidthPx) << row.file;
      EXPECT_EQ(image.height(), row.maxHeightPx) << row.file;
    }
    EXPECT_EQ(bmpBitsPerPixel(fileBytes(dataPath(row.file))), row.bitsPerPixel) << row.file;
  }
  const QImage preview(dataPath(kPreviewFile));
  EXPECT_EQ(preview.format(), QImage::Format_Indexed8);
  EXPECT_EQ(preview.colorCount(), 256);
}

TEST(AssetFiles, TheSkyAboveTheCityStaysDarkAndCalm) {
  const QImage city = QImage(dataPath("city lights.bmp")).convertToFormat(QImage::Format_RGB32);
  ASSERT_FALSE(city.isNull());
  int bright = 0;
  for (int y = 0; y < city.height() * 2 / 3 - 80; ++y) {
    for (int x = 0; x < city.width(); ++x) {
      bright += qGray(city.pixel(x, y)) > 120 ? 1 : 0;
    }
  }
  // Stars and the moon only: well under one pixel in a hundred.
  EXPECT_LT(bright, city.width() * city.height() / 200);
}

// Each density is the same drawing with more pixels: exactly density times the 1× size, of the
// same kind of file, and, reduced back to 1×, hardly different from the 1× file.
TEST(AssetFiles, EveryPictureComesAtEveryDensityAsTheSameDrawing) {
  constexpr double kMostMeanDifference = 1.5;
  for (const std::string& picture : pictures()) {
    const QImage single = loadSprite(picture);
    ASSERT_FALSE(single.isNull()) << picture;
    for (const int density : kPictureDensities) {
      const std::string file = densityFileName(picture, density);
      const QImage dense = loadSprite(file);
      ASSERT_FALSE(dense.isNull()) << file;
      EXPECT_EQ(dense.size(), single.size() * density) << file;
      EXPECT_EQ(bmpBitsPerPixel(bmpBytes(file)), bmpBitsPerPixel(bmpBytes(picture))) << file;
      const QImage reduced =
          dense.scaled(single.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
      EXPECT_LT(meanChannelDifference(reduced, single), kMostMeanDifference) << file;
    }
  }
}

TEST(AssetFiles, DenseAircraftKeepCleanTransparentEdges) {
  for (const char* picture : {"jet01.bmp", "jet07.bmp", "mjet15.bmp", "FastJet.bmp"}) {
    for (const int density : kPictureDensities) {
      const std::string file = densityFileName(picture, density);
      const QImage image = loadSprite(file);
      ASSERT_FALSE(image.isNull()) << file;
      expectTransparentCornersAndSolidMiddle(image, QString::fromStdString(file));
      expectNoDarkFringe(image, QString::fromStdString(file));
    }
  }
}

TEST(AssetFiles, DensityNamesPutTheDensityBeforeTheExtension) {
  EXPECT_EQ(densityFileName("jet01.bmp", 2), "jet01@2x.bmp.zst");
  EXPECT_EQ(densityFileName("city lights.bmp", 4), "city lights@4x.bmp.zst");
  EXPECT_EQ(densityFileName("/usr/share/skyfare/SF-Logo.bmp", 3),
            "/usr/share/skyfare/SF-Logo@3x.bmp.zst");
  EXPECT_EQ(densityFileName("/home/a.b/logo", 2), "/home/a.b/logo@2x.zst");
  EXPECT_EQ(densityFileName("/home/a/.hidden", 2), "/home/a/.hidden@2x.zst");
}

TEST(AssetFiles, WindowsDensityNamesReplaceTheExtensionWithPng) {
  EXPECT_EQ(densityPngFileName("jet01.bmp", 2), "jet01@2x.png");
  EXPECT_EQ(densityPngFileName("city lights.bmp", 4), "city lights@4x.png");
  EXPECT_EQ(densityPngFileName("C:\\Corvinel\\Skyfare\\SF-Logo.bmp", 3),
            "C:\\Corvinel\\Skyfare\\SF-Logo@3x.png");
  EXPECT_EQ(densityPngFileName("C:\\a.b\\logo", 2), "C:\\a.b\\logo@2x.png");
  EXPECT_EQ(densityPngFileName("D:/pictures.old/sky", 2), "D:/pictures.old/sky@2x.png");
  EXPECT_EQ(densityPngFileName("C:\\a\\.hidden", 2), "C:\\a\\.hidden@2x.png");
}

TEST(AssetFiles, TakeoffSoundIsAClickFreeJetRoarBelowFullScale) {
  const auto wave = readPcmWave(fileBytes(dataPath("takeoff.wav")));
  ASSERT_TRUE(wave.has_value());
  EXPECT_EQ(wave->formatTag, 1);
  EXPECT_EQ(wave->bitsPerSample, 16);
  EXPECT_TRUE(wave->channels == 1 || wave->channels == 2);
  EXPECT_TRUE(wave->sampleRateHz == 22050 || wave->sampleRateHz == 44100);
  const double seconds =
      static_cast<double>(wave->samples.size()) / (wave->channels * wave->sampleRateHz);
  EXPECT_GE(seconds, 4.0);
  EXPECT_LE(seconds, 8.0);
  ASSERT_FALSE(wave->samples.empty());
  const auto [low, high] = std::minmax_element(wave->samples.begin(), wave->samples.end());
  const int peak = std::max(-static_cast<int>(*low), static_cast<int>(*high));
  EXPECT_LT(peak, 32767 * 9 / 10);
  EXPECT_GT(peak, 32767 / 4) << "too quiet to hear";
  EXPECT_LT(std::abs(wave->samples.front()), 100);
  EXPECT_LT(std::abs(wave->samples.back()), 100);
}

TEST(AssetFiles, GeneratingTwiceGivesTheSameBytesAsTheBuild) {
  QTemporaryDir first;
  QTemporaryDir second;
  for (const QTemporaryDir* folder : {&first, &second}) {
    QProcess generator;
    generator.start(QStringLiteral(SKYFARE_ASSET_GENERATOR), {folder->path()});
    ASSERT_TRUE(generator.waitForFinished(120000));
    ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().constData();
  }
  for (const std::string& file : allGeneratedFiles()) {
    const QString name = QString::fromStdString(file);
    const QByteArray one = fileBytes(QDir(first.path()).filePath(name));
    EXPECT_FALSE(one.isEmpty()) << file;
    EXPECT_EQ(one, fileBytes(QDir(second.path()).filePath(name))) << file;
    EXPECT_EQ(one, fileBytes(dataPath(file))) << file;
  }
}

// The Windows folder has the same 1× pictures and sound, and every density as a PNG of the very
// pixels the zstd frames hold, alpha included, in a folder small enough to ship.
TEST(AssetFiles, TheWindowsFolderHoldsTheSamePicturesWithDensitiesAsPng) {
  constexpr qint64 kMostFolderBytes = 8LL << 20;
  QTemporaryDir folder;
  QProcess generator;
  generator.start(QStringLiteral(SKYFARE_ASSET_GENERATOR),
                  {QStringLiteral("--windows"), folder.path()});
  ASSERT_TRUE(generator.waitForFinished(120000));
  ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().constData();
  const auto windowsPath = [&](const std::string& file) {
    return QDir(folder.path()).filePath(QString::fromStdString(file));
  };
  std::vector<std::string> expected = pictures();
  expected.emplace_back("takeoff.wav");
  for (const std::string& file : expected) {
    EXPECT_EQ(fileBytes(windowsPath(file)), fileBytes(dataPath(file))) << file;
  }
  for (const std::string& picture : pictures()) {
    for (const int density : kPictureDensities) {
      const std::string png = densityPngFileName(picture, density);
      expected.push_back(png);
      const std::string framedFile = densityFileName(picture, density);
      const QImage framed = loadSprite(framedFile);
      QImage fromPng(windowsPath(png), "PNG");
      ASSERT_FALSE(fromPng.isNull()) << png;
      constexpr int kAlphaBitsPerPixel = 32;
      EXPECT_EQ(fromPng.hasAlphaChannel(),
                bmpBitsPerPixel(bmpBytes(framedFile)) == kAlphaBitsPerPixel)
          << png;
      fromPng.setDevicePixelRatio(1.0);
      EXPECT_EQ(fromPng.convertToFormat(QImage::Format_ARGB32), framed) << png;
    }
  }
  qint64 folderBytes = 0;
  const QFileInfoList written = QDir(folder.path()).entryInfoList(QDir::Files);
  for (const QFileInfo& file : written) folderBytes += file.size();
  EXPECT_EQ(written.size(), static_cast<qsizetype>(expected.size()));
  EXPECT_LT(folderBytes, kMostFolderBytes);
}

TEST(AssetFiles, GeneratorReportsAFolderItCannotWrite) {
  QTemporaryDir folder;
  const QString blocked = QDir(folder.path()).filePath(QStringLiteral("file"));
  QFile plain(blocked);
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  QProcess generator;
  generator.start(QStringLiteral(SKYFARE_ASSET_GENERATOR), {blocked + QStringLiteral("/inner")});
  ASSERT_TRUE(generator.waitForFinished(120000));
  EXPECT_NE(generator.exitCode(), 0);
}

}  // namespace
}  // namespace skyfare::testing
