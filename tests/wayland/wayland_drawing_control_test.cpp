#include "wayland/wayland_drawing_control.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "tests/support/picture_files.h"
#include "tests/support/scene_frames.h"
#include "tests/wayland/test_compositor.h"

namespace skyfare {
namespace {

using testing::largestChannelDifference;
using testing::SceneCalls;
using testing::TestCompositor;
using testing::WholeFramePainter;

constexpr int kWaitMs = 5000;
constexpr std::uint32_t kOverlayLayer = 3;
constexpr std::uint32_t kExclusiveKeyboard = 1;
constexpr std::uint32_t kBackgroundLayer = 0;
constexpr std::uint32_t kNoKeyboard = 0;
constexpr SceneColour kBlue = 0xFF0000;

std::unique_ptr<WaylandConnection> connectTo(const TestCompositor& compositor) {
  setenv("WAYLAND_SOCKET", std::to_string(compositor.clientSocket()).c_str(), 1);
  return WaylandConnection::open();
}

struct EventCounts final : DrawingEvents {
  void FrameUpdate() override {}
  void MouseMove() override { ++moves; }
  void MouseDown() override { ++presses; }
  void KeyDown() override { ++keys; }
  int moves = 0;
  int presses = 0;
  int keys = 0;
};

class WaylandDrawingControlTest : public ::testing::Test {
 protected:
  void open(LayerPlacement placement = overlayPlacement()) {
    connection_ = connectTo(compositor_);
    ASSERT_NE(connection_, nullptr);
    drawing_ = std::make_unique<WaylandDrawingControl>(*connection_, placement,
                                                       [this] { ++connectionsLost_; });
    drawing_->setEventSink(&events_);
    ASSERT_TRUE(drawing_->InitDisplay(800, 600, 16, ""));
  }
  void compose(int textX) {
    drawing_->FillScreen(kBlue);
    drawing_->SetFont("DejaVu Sans", 20, 1, false, false, false);
    drawing_->DrawText("Welcome aboard", textX, 300, 0x00FFFF);
    drawing_->Flip();
  }
  bool waitForCommits(std::size_t count) {
    return QTest::qWaitFor([&] { return compositor_.state().commits.size() >= count; }, kWaitMs);
  }

  TestCompositor compositor_{true};
  std::unique_ptr<WaylandConnection> connection_;
  std::unique_ptr<WaylandDrawingControl> drawing_;
  EventCounts events_;
  int connectionsLost_ = 0;
};

// The saver's drawing component on the compositor, its display open; null when it cannot connect.
std::unique_ptr<WaylandDrawingControl> openDrawing(const TestCompositor& compositor,
                                                   std::unique_ptr<WaylandConnection>& connection) {
  connection = connectTo(compositor);
  if (connection == nullptr)
    return nullptr;
  auto drawing = std::make_unique<WaylandDrawingControl>(*connection, overlayPlacement(),
                                                         std::function<void()>{});
  return drawing->InitDisplay(800, 600, 16, "") ? std::move(drawing) : nullptr;
}

TEST(WaylandConnectionTest, OpensOnlyOnACompositorWithLayerSurfaces) {
  const TestCompositor plain(false);
  EXPECT_EQ(connectTo(plain), nullptr);
  const TestCompositor layered(true);
  EXPECT_NE(connectTo(layered), nullptr);
}

TEST_F(WaylandDrawingControlTest, CoversEveryOutputAtItsOwnScale) {
  compositor_.addOutput({1920, 1080}, 1);
  compositor_.addOutput({2560, 1440}, 2);
  open();
  compose(100);
  ASSERT_TRUE(waitForCommits(2));
  const TestCompositor::State state = compositor_.state();
  EXPECT_EQ(state.layers, (std::vector<std::uint32_t>{kOverlayLayer, kOverlayLayer}));
  EXPECT_EQ(state.keyboardModes,
            (std::vector<std::uint32_t>{kExclusiveKeyboard, kExclusiveKeyboard}));
  for (const TestCompositor::Commit& commit : state.commits) {
    const QSize expected = commit.surface == 0 ? QSize(1920, 1080) : QSize(2560, 1440);
    EXPECT_EQ(commit.bufferSize, expected) << "surface " << commit.surface;
    EXPECT_EQ(commit.scale, commit.surface == 0 ? 1 : 2);
    // The first picture is all new, and shows the frame composed before the surface was ready.
    EXPECT_EQ(commit.damage, QRegion(QRect(QPoint(0, 0), expected)));
    EXPECT_EQ(commit.centre, qRgb(0, 0, 255));
  }
  EXPECT_TRUE(drawing_->statistics().msToFirstFrame.has_value());
  EXPECT_EQ(drawing_->statistics().flushes, 2);
}

TEST_F(WaylandDrawingControlTest, ANewFrameWaitsForTheOutputAndMovesWhatMovedWithoutRepainting) {
  compositor_.addOutput({1600, 1200}, 1);
  open();
  compose(100);
  ASSERT_TRUE(waitForCommits(1));
  const QImage before = compositor_.state().pictures[0];
  compose(140);
  // Until the compositor asks for the next frame, nothing more is committed.
  QTest::qWait(100);
  EXPECT_EQ(compositor_.state().commits.size(), 1u);
  compositor_.sendFrames();
  ASSERT_TRUE(waitForCommits(2));
  const TestCompositor::State state = compositor_.state();
  // The fill did not change, so the surface's own picture is not painted again.
  EXPECT_FALSE(state.commits[1].newBuffer);
  EXPECT_EQ(state.commits[1].subsurfacesShown, 1);
  // The text moved 40 scene pixels, 80 on this output, and nothing else changed.
  const QImage& after = state.pictures[0];
  EXPECT_EQ(before.copy(200, 580, 400, 60), after.copy(280, 580, 400, 60));
  EXPECT_EQ(after.copy(0, 0, 1600, 560), before.copy(0, 0, 1600, 560));
  EXPECT_EQ(compositor_.state().framesAsked, 1);
}

// With viewports the compositor cuts the aircraft crossing the scene's edge; without, the saver.
class WaylandCompositionTest : public ::testing::TestWithParam<bool> {};

TEST_P(WaylandCompositionTest, ShowsWhatOneRendererPaintsOfTheWholeFrameOnEveryOutput) {
  TestCompositor compositor(true, GetParam());
  compositor.addOutput({1920, 1080}, 1);
  compositor.addOutput({2560, 1440}, 2);
  std::unique_ptr<WaylandConnection> connection;
  const auto opened = openDrawing(compositor, connection);
  ASSERT_NE(opened, nullptr);
  WaylandDrawingControl& drawing = *opened;
  WholeFramePainter wide({1920, 1080});
  WholeFramePainter dense({2560, 1440});
  SceneCalls scene;
  for (DrawingControl* control : std::initializer_list<DrawingControl*>{&drawing, &wide, &dense})
    scene.load(*control);
  for (int step = 0; step < 3; ++step) {
    for (DrawingControl* control : std::initializer_list<DrawingControl*>{&drawing, &wide, &dense})
      scene.compose(*control, step);
    compositor.sendFrames();
    const std::size_t commits = 2 * static_cast<std::size_t>(step + 1);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return compositor.state().commits.size() >= commits; }, kWaitMs));
    const TestCompositor::State state = compositor.state();
    // Blending in another order may round a channel by one.
    EXPECT_LE(largestChannelDifference(state.pictures[0], wide.frame()), 1) << "step " << step;
    EXPECT_LE(largestChannelDifference(state.pictures[1], dense.frame()), 1) << "step " << step;
    for (const TestCompositor::Commit& commit :
         std::vector(state.commits.end() - 2, state.commits.end())) {
      EXPECT_EQ(commit.newBuffer, step == 0);
      EXPECT_GE(commit.subsurfacesShown, 4);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(CutBy, WaylandCompositionTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Compositor" : "Saver"; });

TEST(WaylandBandsTest, ASpriteIsShownInBandsThatLeaveItsClearCornerOut) {
  TestCompositor compositor(true, true);
  compositor.addOutput({800, 600}, 1);
  std::unique_ptr<WaylandConnection> connection;
  const auto opened = openDrawing(compositor, connection);
  ASSERT_NE(opened, nullptr);
  WaylandDrawingControl& drawing = *opened;
  WholeFramePainter whole({800, 600});
  // A wedge 200 pixels square, clear above its diagonal.
  QImage wedge(200, 200, QImage::Format_ARGB32);
  wedge.fill(Qt::transparent);
  for (int y = 0; y < wedge.height(); ++y) {
    for (int x = 0; x <= y; ++x) wedge.setPixelColor(x, y, QColor(200, 30, 30));
  }
  testing::PictureFolder folder;
  const std::string file = folder.save("wedge.png", wedge);
  for (DrawingControl* control : std::initializer_list<DrawingControl*>{&drawing, &whole}) {
    const SpriteHandle sprite = control->CreateSprite();
    control->LoadSpriteImage(sprite, 1, file, kTransparentBackground);
    control->FillScreen(kBlue);
    control->SetSpriteX(sprite, 100);
    control->SetSpriteY(sprite, 100);
    control->DrawSprite(sprite);
    control->Flip();
  }
  ASSERT_TRUE(QTest::qWaitFor([&] { return !compositor.state().commits.empty(); }, kWaitMs));
  const TestCompositor::State state = compositor.state();
  // Four bands of 50 rows, 50 to 200 wide: 25,000 pixels where the box has 40,000.
  EXPECT_EQ(state.commits.back().subsurfacesShown, 4);
  EXPECT_EQ(state.commits.back().subsurfacePixels, 25000);
  EXPECT_EQ(largestChannelDifference(state.pictures[0], whole.frame()), 0);
}

TEST_F(WaylandDrawingControlTest, RedrawsWholeAtANewScale) {
  compositor_.addOutput({1920, 1080}, 1);
  open();
  compose(100);
  ASSERT_TRUE(waitForCommits(1));
  compositor_.sendFrames();
  // The output moves to a denser screen mode: same surface size, twice the pixels.
  compositor_.rescaleOutput(0, 2);
  ASSERT_TRUE(waitForCommits(2));
  const TestCompositor::Commit rescaled = compositor_.state().commits[1];
  EXPECT_EQ(rescaled.bufferSize, QSize(3840, 2160));
  EXPECT_EQ(rescaled.scale, 2);
  EXPECT_EQ(rescaled.damage, QRegion(0, 0, 3840, 2160));
  EXPECT_EQ(rescaled.centre, qRgb(0, 0, 255));
}

TEST_F(WaylandDrawingControlTest, AnAbsurdSizeGetsNoBuffer) {
  compositor_.addOutput({100000, 80000}, 1);
  compositor_.addOutput({1280, 720}, 1);
  open();
  compose(100);
  // The sane output is drawn; the other asks for 32 GB and gets nothing.
  ASSERT_TRUE(waitForCommits(1));
  QTest::qWait(100);
  const TestCompositor::State state = compositor_.state();
  ASSERT_EQ(state.commits.size(), 1u);
  EXPECT_EQ(state.commits[0].bufferSize, QSize(1280, 720));
}

TEST_F(WaylandDrawingControlTest, FollowsOutputsThatComeAndGo) {
  compositor_.addOutput({1280, 720}, 1);
  open();
  compose(100);
  ASSERT_TRUE(waitForCommits(1));
  compositor_.addOutput({1024, 768}, 1);
  ASSERT_TRUE(waitForCommits(2));
  EXPECT_EQ(drawing_->surfaceCount(), 2u);
  EXPECT_EQ(compositor_.state().commits[1].bufferSize, QSize(1024, 768));
  compositor_.removeOutput(1);
  EXPECT_TRUE(
      QTest::qWaitFor([&] { return compositor_.state().layerSurfacesAlive == 1; }, kWaitMs));
  EXPECT_EQ(drawing_->surfaceCount(), 1u);
}

TEST_F(WaylandDrawingControlTest, HidesThePointerAndReportsRealInputOnly) {
  compositor_.addOutput({1280, 720}, 1);
  open();
  compose(100);
  ASSERT_TRUE(waitForCommits(1));
  compositor_.pointerEnters(0, 300, 200);
  ASSERT_TRUE(QTest::qWaitFor([&] { return compositor_.state().cursorsHidden == 1; }, kWaitMs));
  // Arriving under the pointer, and a motion to where it already is, are no movements.
  compositor_.pointerMoves(300, 200);
  QTest::qWait(50);
  EXPECT_EQ(events_.moves, 0);
  compositor_.pointerMoves(301, 200);
  EXPECT_TRUE(QTest::qWaitFor([&] { return events_.moves == 1; }, kWaitMs));
  // A key is pressed once, however it is released.
  compositor_.pressKey();
  EXPECT_TRUE(QTest::qWaitFor([&] { return events_.keys == 1; }, kWaitMs));
  QTest::qWait(50);
  EXPECT_EQ(events_.keys, 1);
  EXPECT_EQ(events_.presses, 0);
}

TEST_F(WaylandDrawingControlTest, TellsOnceWhenTheCompositorEndsTheConnection) {
  compositor_.addOutput({1280, 720}, 1);
  open();
  compose(100);
  ASSERT_TRUE(waitForCommits(1));
  compositor_.disconnect();
  EXPECT_TRUE(QTest::qWaitFor([&] { return connectionsLost_ == 1; }, kWaitMs));
  EXPECT_EQ(drawing_->surfaceCount(), 0u);
  // Frames go on being composed, to nowhere.
  compose(120);
  QTest::qWait(50);
  EXPECT_EQ(connectionsLost_, 1);
}

TEST_F(WaylandDrawingControlTest, BehindALockScreenDrawsBelowAllWithoutInputUntilTheLockerCloses) {
  compositor_.addOutput({1280, 720}, 1);
  compositor_.addOutput({1024, 768}, 1);
  open(backgroundPlacement());
  compose(100);
  ASSERT_TRUE(waitForCommits(2));
  const TestCompositor::State state = compositor_.state();
  EXPECT_EQ(state.layers, (std::vector<std::uint32_t>{kBackgroundLayer, kBackgroundLayer}));
  EXPECT_EQ(state.keyboardModes, (std::vector<std::uint32_t>{kNoKeyboard, kNoKeyboard}));
  // The locker owns the input: nothing reaches the session to end it.
  compositor_.pointerEnters(0, 300, 200);
  compositor_.pointerMoves(301, 200);
  compositor_.pressKey();
  QTest::qWait(100);
  EXPECT_EQ(events_.moves + events_.presses + events_.keys, 0);
  compositor_.disconnect();
  EXPECT_TRUE(QTest::qWaitFor([&] { return connectionsLost_ == 1; }, kWaitMs));
  EXPECT_EQ(drawing_->surfaceCount(), 0u);
}

}  // namespace
}  // namespace skyfare
