#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <memory>

#include "screen/qt_drawing_control.h"
#include "screen/xrender_composer.h"
#include "tests/support/scene_frames.h"

namespace skyfare {
namespace {

using testing::largestChannelDifference;
using testing::SceneCalls;
using testing::WholeFramePainter;

constexpr int kWatchdogMs = 10'000;

// Sets an environment variable for its life, and takes it away again.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, bool set) : name_(name), set_(set) {
    if (set_)
      setenv(name_, "1", 1);
  }
  ~ScopedVariable() {
    if (set_)
      unsetenv(name_);
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  bool set_;
};

// With RENDER the X server composes each frame from the pictures it holds; without, the frame
// is painted here and put through shared memory. Either way the screen shows what one renderer
// paints of the whole frame.
class ServerCompositionTest : public ::testing::TestWithParam<bool> {};

TEST_P(ServerCompositionTest, TheScreenShowsWhatOneRendererPaintsOfTheWholeFrame) {
  if (QGuiApplication::platformName() != QStringLiteral("xcb"))
    GTEST_SKIP() << "needs an X server";
  const bool render = GetParam();
  const ScopedVariable renderOff("SKYFARE_NO_XRENDER", !render);
  QScreen* screen = QGuiApplication::primaryScreen();
  QtDrawingControl drawing;
  WholeFramePainter whole(screen->geometry().size());
  SceneCalls scene;
  scene.load(drawing);
  scene.load(whole);
  ASSERT_TRUE(drawing.InitDisplay(800, 600, 16, ""));
  QWindow* window = QGuiApplication::topLevelWindows().value(0);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window, kWatchdogMs));
  EXPECT_EQ(XRenderComposer::create(*window, std::make_shared<ScaledPictures>()) != nullptr,
            render);
  // Blending in another order may round a channel by one.
  const auto showsTheWholeFrame = [&](const char* when) {
    int difference = 256;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
          difference = largestChannelDifference(screen->grabWindow(0).toImage(), whole.frame());
          return difference <= 1;
        },
        kWatchdogMs))
        << when << ": a channel off by " << difference;
  };
  const char* const steps[] = {"first frame", "second frame", "third frame"};
  for (int step = 0; step < 3; ++step) {
    scene.compose(drawing, step);
    scene.compose(whole, step);
    showsTheWholeFrame(steps[step]);
  }
  {
    // Another window over the bar and the scene's edge, then gone: all of it is shown again.
    QWindow cover;
    cover.setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    cover.setGeometry(QRect(0, 0, 700, 700));
    cover.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&cover, kWatchdogMs));
  }
  showsTheWholeFrame("uncovered");
}

INSTANTIATE_TEST_SUITE_P(ComposedBy, ServerCompositionTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Server" : "Program"; });

}  // namespace
}  // namespace skyfare
