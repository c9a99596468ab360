// The program's pictures on a 3840 × 2160 screen, where the scene is enlarged 3.6 times: what
// the screen shows is compared with the same pictures drawn directly at that scale, once from
// the denser files and once enlarged from the 1× files as a component without them does.
#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

#include "assets/airliner_drawing.h"
#include "assets/city_skyline.h"
#include "drawing/scene_mapping.h"
#include "screen/qt_drawing_control.h"

namespace skyfare {
namespace {

constexpr int kWatchdogMs = 20'000;
constexpr SceneColour kSkyBlue = 0xFBE200;
// A pixel matches when no channel is further off than this, out of 255.
constexpr int kPixelTolerance = 24;

struct Difference {
  double meanPerChannel = 0.0;  // 0 to 255
  double shareOffPixels = 0.0;  // pixels beyond kPixelTolerance, 0 to 1
};

Difference differenceIn(const QImage& shot, const QImage& expected, const QRect& area) {
  Difference result;
  int off = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb one = shot.pixel(x, y);
      const QRgb other = expected.pixel(x, y);
      const int red = std::abs(qRed(one) - qRed(other));
      const int green = std::abs(qGreen(one) - qGreen(other));
      const int blue = std::abs(qBlue(one) - qBlue(other));
      result.meanPerChannel += red + green + blue;
      off += std::max({red, green, blue}) > kPixelTolerance ? 1 : 0;
    }
  }
  const double pixels = static_cast<double>(area.width()) * area.height();
  result.meanPerChannel /= 3.0 * pixels;
  result.shareOffPixels = off / pixels;
  return result;
}

const assets::AirlinerLook& airliner(const char* fileName) {
  const auto fleet = assets::airlinerFleet();
  return *std::find_if(fleet.begin(), fleet.end(), [&](const assets::AirlinerLook& look) {
    return std::string_view(look.fileName) == fileName;
  });
}

std::string dataFile(const char* name) {
  return QDir(QStringLiteral(SKYFARE_DATA_DIR)).filePath(QString::fromUtf8(name)).toStdString();
}

struct ComposingSink final : DrawingEvents {
  std::function<void()> compose;
  int frames = 0;
  void FrameUpdate() override {
    ++frames;
    compose();
  }
  void MouseMove() override {}
  void MouseDown() override {}
  void KeyDown() override {}
};

// One sprite placed in the scene.
struct Placed {
  const char* file;
  int transparentMode;
  QPoint at;
};

// Shows the scene on the screen with a fresh component and returns the screen's picture.
QImage screenShowing(SceneColour fill, const std::vector<Placed>& sprites, bool densePictures) {
  QtDrawingControl drawing;
  if (densePictures)
    drawing.setDensePictureFolder(SKYFARE_DATA_DIR);
  std::vector<SpriteHandle> handles;
  for (const Placed& placed : sprites) {
    handles.push_back(drawing.CreateSprite());
    drawing.LoadSpriteImage(handles.back(), 1, dataFile(placed.file), placed.transparentMode);
    drawing.SetSpriteX(handles.back(), placed.at.x());
    drawing.SetSpriteY(handles.back(), placed.at.y());
  }
  ComposingSink sink;
  sink.compose = [&] {
    drawing.FillScreen(fill);
    for (const SpriteHandle sprite : handles) drawing.DrawSprite(sprite);
    drawing.Flip();
  };
  drawing.setEventSink(&sink);
  if (!drawing.InitDisplay(800, 600, 16, ""))
    return {};
  if (!QTest::qWaitFor([&] { return drawing.statistics().msToFirstFrame.has_value(); },
                       kWatchdogMs) ||
      !QTest::qWaitFor([&, start = sink.frames] { return sink.frames >= start + 3; }, kWatchdogMs))
    return {};
  QImage shot = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(
      QImage::Format_RGB32);
  drawing.setEventSink(nullptr);
  return shot;
}

void report(const char* what, const Difference& dense, const Difference& enlarged) {
  std::printf(
      "%-22s from the denser file: mean %5.2f, off %5.2f %%   enlarged 1x: mean %5.2f, "
      "off %5.2f %%\n",
      what, dense.meanPerChannel, 100.0 * dense.shareOffPixels, enlarged.meanPerChannel,
      100.0 * enlarged.shareOffPixels);
}

// Drawn from the denser file, only antialiased edges may differ a little; enlarged, the edges
// and every small detail are soft, several times further off.
void expectSharpAndEnlargementNot(const Difference& dense, const Difference& enlarged) {
  EXPECT_LT(dense.meanPerChannel, 1.0);
  EXPECT_LT(dense.shareOffPixels, 0.02);
  EXPECT_GT(enlarged.meanPerChannel, 4 * dense.meanPerChannel);
  EXPECT_GT(enlarged.shareOffPixels, 4 * dense.shareOffPixels + 0.01);
}

class DenseScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QGuiApplication::primaryScreen()->geometry().size() != QSize(3840, 2160))
      GTEST_SKIP() << "needs a 3840 x 2160 screen";
  }

  const SceneMapping mapping_{QSize(3840, 2160)};
};

TEST_F(DenseScreenTest, AnAirlinerOverSkyBlueIsDrawnAtTheScreensScale) {
  const Placed plane{"jet01.bmp", kTransparentBackground, QPoint(200, 150)};
  const QImage dense = screenShowing(kSkyBlue, {plane}, true);
  const QImage enlarged = screenShowing(kSkyBlue, {plane}, false);
  ASSERT_FALSE(dense.isNull());
  ASSERT_FALSE(enlarged.isNull());

  const QImage drawn = assets::drawAirliner(airliner(plane.file), mapping_.scale());
  const QRect area(mapping_.toTarget(plane.at.x(), plane.at.y()), drawn.size());
  ASSERT_EQ(drawn.width(), mapping_.scaledLength(airliner(plane.file).widthPx));
  QImage expected(dense.size(), QImage::Format_RGB32);
  expected.fill(QColor(0, 226, 251));
  QPainter(&expected).drawImage(area.topLeft(), drawn);

  const Difference fromDense = differenceIn(dense, expected, area);
  const Difference fromOne = differenceIn(enlarged, expected, area);
  report("airliner over sky blue", fromDense, fromOne);
  expectSharpAndEnlargementNot(fromDense, fromOne);
}

TEST_F(DenseScreenTest, TheCityAndAnAirlinerOverItAreDrawnAtTheScreensScale) {
  const Placed city{"city lights.bmp", kOpaque, QPoint(0, 0)};
  const Placed plane{"jet07.bmp", kTransparentBackground, QPoint(420, 40)};
  const QImage dense = screenShowing(0, {city, plane}, true);
  const QImage enlarged = screenShowing(0, {city, plane}, false);
  ASSERT_FALSE(dense.isNull());
  ASSERT_FALSE(enlarged.isNull());

  const QImage drawnPlane = assets::drawAirliner(airliner(plane.file), mapping_.scale());
  const QRect planeArea(mapping_.toTarget(plane.at.x(), plane.at.y()), drawnPlane.size());
  QImage expected(dense.size(), QImage::Format_RGB32);
  expected.fill(Qt::black);
  {
    QPainter painter(&expected);
    painter.drawImage(mapping_.content().topLeft(), assets::drawCitySkyline(mapping_.scale()));
    painter.drawImage(planeArea.topLeft(), drawnPlane);
  }
  // The towers and their lit windows, from the tallest down to the waterline.
  const QRect towers = mapping_.toTarget(QRect(0, 340, 800, 180));
  const QRect river = mapping_.toTarget(QRect(0, 525, 800, 75));

  report("towers of the city", differenceIn(dense, expected, towers),
         differenceIn(enlarged, expected, towers));
  report("river of the city", differenceIn(dense, expected, river),
         differenceIn(enlarged, expected, river));
  report("airliner over the city", differenceIn(dense, expected, planeArea),
         differenceIn(enlarged, expected, planeArea));
  expectSharpAndEnlargementNot(differenceIn(dense, expected, towers),
                               differenceIn(enlarged, expected, towers));
  expectSharpAndEnlargementNot(differenceIn(dense, expected, planeArea),
                               differenceIn(enlarged, expected, planeArea));
}

}  // namespace
}  // namespace skyfare
