#include "windows/drawing/win32_drawing_control.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/windows/drawing/picture_files.h"

namespace skyfare {
namespace {

using testing::TempFolder;

constexpr SceneColour kSkyBlue = 16507392;
constexpr SceneColour kCyan = 16776960;
constexpr std::uint32_t kSkyBluePixel = 0x00E2FB;  // 0xRRGGBB
constexpr std::uint32_t kRedPixel = 0xFF0000;

// Counts the events and, after a number of frames, ends the message loop.
struct CountingSink final : DrawingEvents {
  int frames = 0;
  int moves = 0;
  int clicks = 0;
  int keys = 0;
  int quitAfterFrames = 0;
  std::function<void(int)> onFrame;

  void FrameUpdate() override {
    ++frames;
    if (onFrame)
      onFrame(frames);
    if (frames == quitAfterFrames)
      PostQuitMessage(7);
  }
  void MouseMove() override { ++moves; }
  void MouseDown() override { ++clicks; }
  void KeyDown() override { ++keys; }
};

// What the window shows at a pixel, 0xRRGGBB, read back through the window's own DC.
std::uint32_t shownPixel(HWND window, int x, int y) {
  const WindowDc dc(window);
  const COLORREF colour = GetPixel(dc.get(), x, y);
  return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

class Win32DrawingControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(control_.InitDisplay(800, 600, 16, ""));
    control_.setEventSink(&sink_);
    window_ = control_.monitorWindow(0).window();
  }
  // Runs the control's message loop for this many frames.
  int runFrames(int frames) {
    sink_.quitAfterFrames = sink_.frames + frames;
    return control_.runMessageLoop();
  }

  TempFolder folder_;
  Win32DrawingControl control_;
  CountingSink sink_;
  HWND window_ = nullptr;
};

TEST_F(Win32DrawingControlTest, ShowsTheSceneScaledAndBarredOnTheMonitor) {
  ASSERT_EQ(control_.windowCount(), 1u);
  RECT rect{};
  GetWindowRect(window_, &rect);
  EXPECT_EQ(rect.right - rect.left, 1920);
  EXPECT_EQ(rect.bottom - rect.top, 1080);
  EXPECT_TRUE(GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_TOPMOST);

  // A red sprite with a keyed blue corner, and white text.
  std::vector<std::uint32_t> pixels(100 * 50, 0xFF0000);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) pixels[y * 100 + x] = 0x0000FF;
  testing::writeBytes(folder_.file("jet.bmp"), testing::bmpBytes(100, 50, pixels));
  const SpriteHandle jet = control_.CreateSprite();
  control_.LoadSpriteImage(jet, 1, folder_.file("jet.bmp"), kTransparentBackground);
  control_.SetSpriteX(jet, 100);
  control_.SetSpriteY(jet, 200);
  control_.FillScreen(kSkyBlue);
  control_.DrawSprite(jet);
  control_.SetFont("Liberation Sans", 40, 1, false, false, false);
  control_.DrawText("WWWW", 400, 400, 0xFFFFFF);
  control_.Flip();

  EXPECT_EQ(shownPixel(window_, 100, 500), 0u);   // left bar
  EXPECT_EQ(shownPixel(window_, 1800, 500), 0u);  // right bar
  EXPECT_EQ(shownPixel(window_, 240 + 900, 100), kSkyBluePixel);
  // Scene (150, 225) is at 240 + 270, 405; the keyed corner at (105, 205) shows the sky.
  EXPECT_EQ(shownPixel(window_, 240 + 270, 405), kRedPixel);
  EXPECT_EQ(shownPixel(window_, 240 + 189, 369), kSkyBluePixel);
  int white = 0;
  for (int x = 240 + 720; x < 240 + 900; ++x)
    white += shownPixel(window_, x, 760) == 0xFFFFFF ? 1 : 0;
  EXPECT_GT(white, 5);
}

TEST_F(Win32DrawingControlTest, AnUnchangedFramePresentsNothingAndAMovePresentsLittle) {
  testing::writeBmp(folder_.file("jet.bmp"), 100, 50, 0xFF0000);
  const SpriteHandle jet = control_.CreateSprite();
  control_.LoadSpriteImage(jet, 1, folder_.file("jet.bmp"), kOpaque);
  const auto frame = [&] {
    control_.FillScreen(0);
    control_.DrawSprite(jet);
    control_.Flip();
  };
  frame();
  const PresentationStatistics first = control_.statistics();
  EXPECT_EQ(first.framesPresented, 1);
  frame();
  EXPECT_EQ(control_.statistics().framesPresented, 1);
  EXPECT_EQ(control_.statistics().pixelsPresented, first.pixelsPresented);
  control_.MoveSpriteX(jet, -2);
  frame();
  const std::int64_t moved = control_.statistics().pixelsPresented - first.pixelsPresented;
  EXPECT_GT(moved, 0);
  EXPECT_LT(moved, 1920 * 1080 / 50);
  EXPECT_EQ(shownPixel(window_, 240 - 4 + 90, 45), kRedPixel);
  EXPECT_EQ(shownPixel(window_, 240 + 178, 45), 0u);  // where its right end was
}

TEST_F(Win32DrawingControlTest, ARepaintShowsTheLastFrameAgainWithItsBars) {
  testing::writeBmp(folder_.file("jet.bmp"), 100, 50, 0xFF0000);
  const SpriteHandle jet = control_.CreateSprite();
  control_.LoadSpriteImage(jet, 1, folder_.file("jet.bmp"), kOpaque);
  control_.SetSpriteX(jet, 300);
  control_.SetSpriteY(jet, 500);
  control_.FillScreen(kSkyBlue);
  control_.DrawSprite(jet);
  control_.Flip();
  {
    // What another window or a lost surface leaves on it.
    const WindowDc dc(window_);
    const RECT everything{0, 0, 1920, 1080};
    FillRect(dc.get(), &everything, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  InvalidateRect(window_, nullptr, FALSE);
  runFrames(2);
  EXPECT_GE(control_.statistics().repaints, 1);
  EXPECT_EQ(control_.statistics().framesComposed, 1);  // the shown frame, not a new one
  EXPECT_EQ(shownPixel(window_, 100, 540), 0u);
  EXPECT_EQ(shownPixel(window_, 960, 540), kSkyBluePixel);
  EXPECT_EQ(shownPixel(window_, 240 + 540 + 10, 900 + 10), kRedPixel);
  EXPECT_EQ(shownPixel(window_, 1919, 1079), 0u);
}

TEST_F(Win32DrawingControlTest, FramesComeFromTheLoopUntilItQuits) {
  sink_.onFrame = [this](int) {
    control_.FillScreen(0);
    control_.Flip();
  };
  EXPECT_EQ(runFrames(5), 7);
  EXPECT_EQ(sink_.frames, 5);
  EXPECT_EQ(control_.statistics().framesComposed, 5);
}

// The loop waits on a watched event with its messages: one set before a frame is told before it.
TEST_F(Win32DrawingControlTest, AWatchedEventIsToldBeforeTheNextFrame) {
  const UniqueHandle event(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  std::vector<int> toldBeforeFrame;
  control_.watch(event.get(), [&] { toldBeforeFrame.push_back(sink_.frames + 1); });
  SetEvent(event.get());
  sink_.onFrame = [&](int frame) {
    if (frame == 3)
      SetEvent(event.get());
  };
  runFrames(6);
  EXPECT_EQ(toldBeforeFrame, (std::vector<int>{1, 4}));
}

TEST_F(Win32DrawingControlTest, OnlyRealPointerMovementCounts) {
  POINT pointer{};
  GetCursorPos(&pointer);
  ScreenToClient(window_, &pointer);
  // What a window appearing under a still pointer brings, as the system sends it.
  PostMessageW(window_, WM_MOUSEMOVE, 0, MAKELPARAM(pointer.x, pointer.y));
  runFrames(3);
  EXPECT_EQ(sink_.moves, 0);
  PostMessageW(window_, WM_MOUSEMOVE, 0, MAKELPARAM(pointer.x + 5, pointer.y));
  PostMessageW(window_, WM_MOUSEMOVE, 0, MAKELPARAM(pointer.x + 5, pointer.y));
  runFrames(2);
  EXPECT_EQ(sink_.moves, 1);
}

TEST_F(Win32DrawingControlTest, KeysAndButtonsAreRaisedOutsideTheWindowProcedure) {
  for (const UINT message : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN})
    PostMessageW(window_, message, 0, 0);
  PostMessageW(window_, WM_KEYDOWN, 'A', 0);
  PostMessageW(window_, WM_SYSKEYDOWN, VK_MENU, 0);
  runFrames(2);
  EXPECT_EQ(sink_.clicks, 3);
  EXPECT_EQ(sink_.keys, 2);
  control_.setEventSink(nullptr);
  PostMessageW(window_, WM_KEYDOWN, 'A', 0);
  sink_.quitAfterFrames = 0;
  PostQuitMessage(0);
  control_.runMessageLoop();
  EXPECT_EQ(sink_.keys, 2);
}

TEST_F(Win32DrawingControlTest, TextSizesOutsideTheRangeAreHandled) {
  control_.FillScreen(0);
  control_.SetFont("Liberation Sans", 0, 1, false, false, false);
  control_.DrawText("nothing", 10, 10, kCyan);
  control_.SetFont("Liberation Sans", 1'000'000, 1, true, true, true);
  control_.DrawText("W", 0, 0, kCyan);
  control_.Flip();
  // The cut size still draws: cyan somewhere in its first glyph.
  int cyan = 0;
  for (int y = 0; y < 500; y += 4)
    for (int x = 240; x < 700; x += 4) cyan += shownPixel(window_, x, y) == 0x00FFFF ? 1 : 0;
  EXPECT_GT(cyan, 10);
}

}  // namespace
}  // namespace skyfare
