#include "screen/qt_drawing_control.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>

#include "drawing/scene_mapping.h"
#include "tests/support/picture_files.h"

namespace skyfare {
namespace {

constexpr int kWatchdogMs = 10'000;

// Counts the events and composes a frame on each FrameUpdate: sky blue and one sprite.
struct SceneSink final : DrawingEvents {
  std::function<void()> compose;
  std::function<void()> onKeyDown;
  int frames = 0;
  int moves = 0;
  int presses = 0;
  int keys = 0;

  void FrameUpdate() override {
    ++frames;
    if (compose)
      compose();
  }
  void MouseMove() override { ++moves; }
  void MouseDown() override { ++presses; }
  void KeyDown() override {
    ++keys;
    if (onKeyDown)
      onKeyDown();
  }
};

QWindow* windowOn(QScreen* screen) {
  for (QWindow* window : QGuiApplication::topLevelWindows()) {
    if (window->screen() == screen && window->isVisible())
      return window;
  }
  return nullptr;
}

class QtDrawingControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drawing_ = std::make_unique<QtDrawingControl>();
    QImage red(100, 50, QImage::Format_RGB32);
    red.fill(Qt::red);
    sprite_ = drawing_->CreateSprite();
    drawing_->LoadSpriteImage(sprite_, 1, folder_.save("red.png", red), kOpaque);
    drawing_->SetSpriteX(sprite_, 400);
    drawing_->SetSpriteY(sprite_, 300);
    sink_.compose = [this] {
      drawing_->FillScreen(0xFBE200);
      drawing_->DrawSprite(sprite_);
      drawing_->Flip();
    };
    drawing_->setEventSink(&sink_);
  }

  bool waitForFrames(int count) {
    return QTest::qWaitFor([&] { return sink_.frames >= count; }, kWatchdogMs);
  }

  testing::PictureFolder folder_;
  std::unique_ptr<QtDrawingControl> drawing_;
  SceneSink sink_;
  SpriteHandle sprite_ = 0;
};

TEST_F(QtDrawingControlTest, OpensAFullScreenWindowOnEveryScreenAndFramesBeginWithIt) {
  QCoreApplication::processEvents();
  EXPECT_EQ(drawing_->windowCount(), 0u) << "no window to raise frames before the display opens";
  EXPECT_EQ(sink_.frames, 0);
  ASSERT_TRUE(drawing_->InitDisplay(800, 600, 16, ""));
  EXPECT_TRUE(drawing_->InitDisplay(800, 600, 16, ""));
  EXPECT_EQ(drawing_->windowCount(), static_cast<std::size_t>(QGuiApplication::screens().size()));
  for (QScreen* screen : QGuiApplication::screens()) {
    QWindow* window = windowOn(screen);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window, kWatchdogMs));
    EXPECT_EQ(window->geometry(), screen->geometry());
    EXPECT_TRUE(window->flags().testFlag(Qt::FramelessWindowHint));
  }
  EXPECT_TRUE(waitForFrames(1));
}

TEST_F(QtDrawingControlTest, ShowsTheSceneFittedWithBlackBars) {
  ASSERT_TRUE(drawing_->InitDisplay(800, 600, 16, ""));
  ASSERT_TRUE(waitForFrames(5));
  QScreen* screen = QGuiApplication::primaryScreen();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(windowOn(screen), kWatchdogMs));
  ASSERT_TRUE(waitForFrames(sink_.frames + 3));
  const QImage shot = screen->grabWindow(0).toImage();
  const SceneMapping mapping(screen->geometry().size());
  const QRect content = mapping.content();
  const QPoint spriteMiddle = mapping.toTarget(450, 325);
  EXPECT_EQ(shot.pixelColor(content.left() + 5, content.top() + 5), QColor(0, 226, 251));
  EXPECT_EQ(shot.pixelColor(spriteMiddle), QColor(Qt::red));
  if (content.left() > 0) {
    EXPECT_EQ(shot.pixelColor(content.left() / 2, content.center().y()), QColor(Qt::black));
  }
  const DrawingStatistics statistics = drawing_->statistics();
  EXPECT_GE(statistics.framesComposed, 8);
  EXPECT_GE(statistics.flushes, 1);
  EXPECT_TRUE(statistics.msToFirstFrame.has_value());
}

TEST_F(QtDrawingControlTest, UnchangedFramesFlushNothing) {
  ASSERT_TRUE(drawing_->InitDisplay(800, 600, 16, ""));
  ASSERT_TRUE(
      QTest::qWaitForWindowExposed(windowOn(QGuiApplication::primaryScreen()), kWatchdogMs));
  ASSERT_TRUE(waitForFrames(sink_.frames + 3));
  const DrawingStatistics before = drawing_->statistics();
  ASSERT_TRUE(waitForFrames(sink_.frames + 20));
  const DrawingStatistics after = drawing_->statistics();
  EXPECT_GE(after.framesComposed - before.framesComposed, 20);
  EXPECT_EQ(after.framesPresented, before.framesPresented);
  EXPECT_EQ(after.flushes, before.flushes);

  // One pixel of movement is shown at once.
  drawing_->MoveSpriteX(sprite_, 1);
  ASSERT_TRUE(waitForFrames(sink_.frames + 2));
  EXPECT_EQ(drawing_->statistics().framesPresented, after.framesPresented + 1);
}

TEST_F(QtDrawingControlTest, KeysButtonsAndRealMovesRaiseEventsFromTheEventLoop) {
  ASSERT_TRUE(drawing_->InitDisplay(800, 600, 16, ""));
  QWindow* window = windowOn(QGuiApplication::primaryScreen());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window, kWatchdogMs));
  QTest::keyClick(window, Qt::Key_A);
  EXPECT_TRUE(QTest::qWaitFor([&] { return sink_.keys == 1; }, kWatchdogMs));
  QTest::keyClick(window, Qt::Key_Escape);
  EXPECT_TRUE(QTest::qWaitFor([&] { return sink_.keys == 2; }, kWatchdogMs));

  for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
    QTest::mouseClick(window, button, {}, QPoint(10, 10));
  EXPECT_TRUE(QTest::qWaitFor([&] { return sink_.presses == 3; }, kWatchdogMs));

  QCoreApplication::processEvents();
  const int movesAtStart = sink_.moves;

  QTest::mouseMove(window, QPoint(200, 200));
  EXPECT_TRUE(QTest::qWaitFor([&] { return sink_.moves == movesAtStart + 1; }, kWatchdogMs));
  QTest::mouseMove(window, QPoint(200, 200));
  QTest::mouseMove(window, QPoint(201, 200));
  EXPECT_TRUE(QTest::qWaitFor([&] { return sink_.moves == movesAtStart + 2; }, kWatchdogMs));
  QTest::qWait(50);
  EXPECT_EQ(sink_.moves, movesAtStart + 2);
}

TEST_F(QtDrawingControlTest, SinkMayEndTheComponentFromAKey) {
  ASSERT_TRUE(drawing_->InitDisplay(800, 600, 16, ""));
  QWindow* window = windowOn(QGuiApplication::primaryScreen());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window, kWatchdogMs));
  sink_.onKeyDown = [this] { drawing_.reset(); };
  sink_.compose = nullptr;
  // Two presses before the event loop runs: the second must not reach a component that is gone.
  for (int press = 0; press < 2; ++press) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &key);
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return drawing_ == nullptr; }, kWatchdogMs));
  QTest::qWait(50);
  EXPECT_EQ(sink_.keys, 1);
  EXPECT_EQ(windowOn(QGuiApplication::primaryScreen()), nullptr);
}

TEST_F(QtDrawingControlTest, SinkMayEndTheComponentFromAFrame) {
  sink_.compose = [this] {
    if (sink_.frames == 3)
      drawing_.reset();
  };
  ASSERT_TRUE(drawing_->InitDisplay(800, 600, 16, ""));
  EXPECT_TRUE(QTest::qWaitFor([&] { return drawing_ == nullptr; }, kWatchdogMs));
  QTest::qWait(100);
  EXPECT_EQ(sink_.frames, 3);
}

bool windowsMatchScreens(const QtDrawingControl& drawing) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (drawing.windowCount() != static_cast<std::size_t>(screens.size()))
    return false;
  return std::all_of(screens.begin(), screens.end(), [](QScreen* screen) {
    const QWindow* window = windowOn(screen);
    return window != nullptr && window->geometry() == screen->geometry();
  });
}

// Splits the X screen into two monitors and joins it again, as plugging a second monitor does.
TEST_F(QtDrawingControlTest, KeepsAWindowOnEachScreenAsScreensComeAndGo) {
  const QString xrandr = QStandardPaths::findExecutable(QStringLiteral("xrandr"));
  if (QGuiApplication::platformName() != QStringLiteral("xcb") || xrandr.isEmpty())
    GTEST_SKIP() << "needs an X server and xrandr";
  ASSERT_TRUE(drawing_->InitDisplay(800, 600, 16, ""));
  const QSize whole = QGuiApplication::primaryScreen()->geometry().size();
  const int half = whole.width() / 2;
  auto run = [&](const QStringList& arguments) {
    return QProcess::execute(xrandr, arguments) == 0;
  };
  ASSERT_TRUE(run({"--setmonitor", "left",
                   QStringLiteral("%1/254x%2/286+0+0").arg(half).arg(whole.height()), "screen"}));
  ASSERT_TRUE(run({"--setmonitor", "right",
                   QStringLiteral("%1/254x%2/286+%1+0").arg(half).arg(whole.height()), "none"}));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return QGuiApplication::screens().size() == 2 && windowsMatchScreens(*drawing_); },
      kWatchdogMs));

  ASSERT_TRUE(run({"--delmonitor", "right"}));
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return QGuiApplication::screens().size() == 1 && windowsMatchScreens(*drawing_); },
      kWatchdogMs));
  const int framesBefore = sink_.frames;
  EXPECT_TRUE(waitForFrames(framesBefore + 5));
  EXPECT_TRUE(run({"--delmonitor", "left"})) << "the X server is left as it was found";
}

}  // namespace
}  // namespace skyfare
