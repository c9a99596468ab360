#include "drawing/offscreen_drawing_control.h"

#include <gtest/gtest.h>

#include <QColor>
#include <climits>

#include "tests/support/picture_files.h"

namespace skyfare {
namespace {

using testing::PictureFolder;

constexpr SceneColour kSkyBlue = 0xFBE200;
constexpr SceneColour kCyan = 0xFFFF00;

QColor at(const OffscreenDrawingControl& drawing, int x, int y) {
  return drawing.lastFrame().pixelColor(x, y);
}

// The smallest rectangle holding every pixel that is not the background colour.
QRect changedRect(const QImage& frame, QColor background) {
  QRect found;
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      if (frame.pixelColor(x, y) != background)
        found |= QRect(x, y, 1, 1);
    }
  }
  return found;
}

class OffscreenDrawingTest : public ::testing::Test {
 protected:
  SpriteHandle spriteOf(const QImage& picture, int mode, const QString& name = "s.png") {
    const SpriteHandle sprite = drawing_.CreateSprite();
    drawing_.LoadSpriteImage(sprite, 1, folder_.save(name, picture), mode);
    return sprite;
  }
  void drawAlone(SpriteHandle sprite, int x, int y, SceneColour background = kSkyBlue) {
    drawing_.SetSpriteX(sprite, x);
    drawing_.SetSpriteY(sprite, y);
    drawing_.FillScreen(background);
    drawing_.DrawSprite(sprite);
    drawing_.Flip();
  }

  PictureFolder folder_;
  OffscreenDrawingControl drawing_;
};

TEST_F(OffscreenDrawingTest, FillColoursHaveRedInTheLowByte) {
  struct Row {
    SceneColour colour;
    QColor expected;
  };
  for (const Row& row : {Row{kSkyBlue, QColor(0, 226, 251)}, Row{kCyan, QColor(0, 255, 255)},
                         Row{0x00FFFF, QColor(255, 255, 0)}, Row{0, QColor(0, 0, 0)},
                         Row{0xFF123456, QColor(0x56, 0x34, 0x12)}}) {
    drawing_.FillScreen(row.colour);
    drawing_.Flip();
    EXPECT_EQ(at(drawing_, 0, 0), row.expected) << std::hex << row.colour;
    EXPECT_EQ(at(drawing_, 799, 599), row.expected) << std::hex << row.colour;
  }
}

TEST_F(OffscreenDrawingTest, LaterDrawingsCoverEarlierOnes) {
  QImage red(40, 40, QImage::Format_RGB32);
  red.fill(Qt::red);
  QImage green(40, 40, QImage::Format_RGB32);
  green.fill(Qt::green);
  const SpriteHandle under = spriteOf(red, kOpaque, "red.png");
  const SpriteHandle over = spriteOf(green, kOpaque, "green.png");
  drawing_.SetSpriteX(over, 20);
  drawing_.FillScreen(0);
  drawing_.DrawSprite(under);
  drawing_.DrawSprite(over);
  drawing_.Flip();
  EXPECT_EQ(at(drawing_, 10, 10), QColor(Qt::red));
  EXPECT_EQ(at(drawing_, 30, 10), QColor(Qt::green));
}

TEST_F(OffscreenDrawingTest, TransparentModesDecideWhatShowsThrough) {
  const QColor sky(0, 226, 251);
  const QImage magentaFrame = testing::framedSquare({20, 20}, Qt::magenta, Qt::green, 5);
  QImage halfClear(20, 20, QImage::Format_ARGB32);
  halfClear.fill(QColor(255, 255, 0, 0));  // clear pixels that still hold yellow
  for (int y = 0; y < 20; ++y) {
    for (int x = 10; x < 20; ++x) halfClear.setPixelColor(x, y, Qt::red);
  }
  QImage allOpaque = magentaFrame.convertToFormat(QImage::Format_ARGB32);

  struct Row {
    const char* what;
    std::string file;
    int mode;
    QColor corner;  // at (1, 1)
    QColor middle;  // at (12, 12)
  };
  const Row rows[] = {
      {"bmp keyed on its top-left colour", folder_.save("frame.bmp", magentaFrame),
       kTransparentBackground, sky, Qt::green},
      {"png alpha used", folder_.save("half.png", halfClear), kTransparentBackground, sky, Qt::red},
      {"png whose alpha is all opaque keyed", folder_.save("opaque.png", allOpaque),
       kTransparentBackground, sky, Qt::green},
      {"bmp whose alpha bytes are all zero keyed",
       folder_.write("zero.bmp", testing::bmp32WithAlphaByte(magentaFrame, 0)),
       kTransparentBackground, sky, Qt::green},
      {"bmp whose alpha bytes are all 255 keyed",
       folder_.write("full.bmp", testing::bmp32WithAlphaByte(magentaFrame, 255)),
       kTransparentBackground, sky, Qt::green},
      {"opaque bmp", folder_.save("frame2.bmp", magentaFrame), kOpaque, Qt::magenta, Qt::green},
      {"opaque png ignores alpha", folder_.save("half2.png", halfClear), kOpaque, Qt::yellow,
       Qt::red},
      {"zero alpha bmp drawn opaque keeps its colours",
       folder_.write("zero2.bmp", testing::bmp32WithAlphaByte(magentaFrame, 0)), kOpaque,
       Qt::magenta, Qt::green},
  };
  for (const Row& row : rows) {
    const SpriteHandle sprite = drawing_.CreateSprite();
    drawing_.LoadSpriteImage(sprite, 1, row.file, row.mode);
    drawAlone(sprite, 0, 0);
    EXPECT_EQ(at(drawing_, 1, 1), row.corner) << row.what;
    EXPECT_EQ(at(drawing_, 12, 12), row.middle) << row.what;
    EXPECT_EQ(at(drawing_, 25, 25), sky) << row.what;
  }
}

TEST_F(OffscreenDrawingTest, ZeroAlphaBmpReallyClaimsAnAlphaChannel) {
  const QImage picture = testing::framedSquare({4, 4}, Qt::magenta, Qt::green, 1);
  const QImage read = QImage::fromData(testing::bmp32WithAlphaByte(picture, 0));
  ASSERT_FALSE(read.isNull());
  EXPECT_TRUE(read.hasAlphaChannel());
}

TEST_F(OffscreenDrawingTest, ASpriteCoversExactlyWhatOfItLiesOnTheScene) {
  QImage red(30, 20, QImage::Format_RGB32);
  red.fill(Qt::red);
  const SpriteHandle sprite = spriteOf(red, kOpaque);
  const QColor sky(0, 226, 251);
  struct Row {
    std::int32_t x, y;
    QRect visible;
  };
  for (const Row& row :
       {Row{100, 50, QRect(100, 50, 30, 20)}, Row{-10, -5, QRect(0, 0, 20, 15)},
        Row{790, 590, QRect(790, 590, 10, 10)}, Row{-30, 0, QRect()}, Row{800, 0, QRect()},
        Row{0, 600, QRect()}, Row{INT32_MIN, INT32_MAX, QRect()},
        Row{INT32_MAX, INT32_MIN, QRect()}, Row{INT32_MAX - 5, 10, QRect()}}) {
    drawAlone(sprite, row.x, row.y);
    EXPECT_EQ(changedRect(drawing_.lastFrame(), sky), row.visible) << row.x << "," << row.y;
    if (!row.visible.isEmpty()) {
      EXPECT_EQ(at(drawing_, row.visible.left(), row.visible.top()), QColor(Qt::red));
      EXPECT_EQ(at(drawing_, row.visible.right(), row.visible.bottom()), QColor(Qt::red));
    }
  }
}

TEST_F(OffscreenDrawingTest, MovesWrapInsteadOfOverflowing) {
  const SpriteHandle sprite = drawing_.CreateSprite();
  drawing_.SetSpriteX(sprite, INT32_MAX);
  drawing_.MoveSpriteX(sprite, 1);
  EXPECT_EQ(drawing_.GetSpriteX(sprite), INT32_MIN);
  drawing_.MoveSpriteX(sprite, -3);
  EXPECT_EQ(drawing_.GetSpriteX(sprite), INT32_MAX - 2);
}

TEST_F(OffscreenDrawingTest, TextTopLeftEdgeIsAtItsPosition) {
  drawing_.FillScreen(0);
  drawing_.SetFont("DejaVu Sans", 20, 1, false, false, false);
  drawing_.DrawText("SKYFARE HELLO", 5, 570, kCyan);
  drawing_.Flip();
  const QRect ink = changedRect(drawing_.lastFrame(), Qt::black);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_GE(ink.top(), 570);
  EXPECT_LT(ink.bottom(), 590);
  EXPECT_GE(ink.left(), 5);
  EXPECT_LE(ink.left(), 8);
  // Antialiased cyan: no red in it, and some pixels only partly lit.
  bool partlyLit = false;
  for (int y = ink.top(); y <= ink.bottom(); ++y) {
    for (int x = ink.left(); x <= ink.right(); ++x) {
      const QColor c = at(drawing_, x, y);
      EXPECT_EQ(c.red(), 0);
      partlyLit = partlyLit || (c.green() > 0 && c.green() < 255);
    }
  }
  EXPECT_TRUE(partlyLit);
}

TEST_F(OffscreenDrawingTest, FontSizesBelowOneDrawNothingAndHugeOnesAreCut) {
  drawing_.FillScreen(0);
  drawing_.SetFont("DejaVu Sans", 0, 1, false, false, false);
  drawing_.DrawText("zero", 100, 100, kCyan);
  drawing_.SetFont("DejaVu Sans", -20, 1, false, false, false);
  drawing_.DrawText("negative", 100, 200, kCyan);
  drawing_.Flip();
  EXPECT_TRUE(changedRect(drawing_.lastFrame(), Qt::black).isEmpty());

  drawing_.FillScreen(0);
  drawing_.SetFont("DejaVu Sans", INT_MAX, 1, false, false, false);
  drawing_.DrawText("W", 0, 0, kCyan);
  drawing_.Flip();
  EXPECT_FALSE(changedRect(drawing_.lastFrame(), Qt::black).isEmpty());
}

TEST_F(OffscreenDrawingTest, MissingPictureGivesAnEmptySpriteAndOneLine) {
  const SpriteHandle sprite = drawing_.CreateSprite();
  const std::string missing = folder_.missing();
  const std::string notAPicture = folder_.write("junk.png", QByteArray("not a picture"));
  ::testing::internal::CaptureStderr();
  drawing_.LoadSpriteImage(sprite, 1, missing, kTransparentBackground);
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, "skyfare: cannot read picture " + missing + ": No such file or directory\n");

  ::testing::internal::CaptureStderr();
  drawing_.LoadSpriteImage(sprite, 1, notAPicture, kOpaque);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "skyfare: cannot read picture " + notAPicture + ": not a picture this program reads\n");

  drawAlone(sprite, 10, 10);
  EXPECT_TRUE(changedRect(drawing_.lastFrame(), QColor(0, 226, 251)).isEmpty());
}

TEST_F(OffscreenDrawingTest, HandlesThatNameNoSpriteAreIgnored) {
  QImage red(30, 20, QImage::Format_RGB32);
  red.fill(Qt::red);
  const SpriteHandle real = spriteOf(red, kOpaque);
  for (SpriteHandle unknown : {0, -1, real + 1, INT32_MAX, INT32_MIN}) {
    drawing_.LoadSpriteImage(unknown, 1, folder_.save("u.png", red), kOpaque);
    drawing_.SetSpriteX(unknown, 5);
    drawing_.SetSpriteY(unknown, 5);
    drawing_.MoveSpriteX(unknown, 5);
    drawing_.MoveSpriteY(unknown, 5);
    EXPECT_EQ(drawing_.GetSpriteX(unknown), 0);
    drawing_.FillScreen(0);
    drawing_.DrawSprite(unknown);
    drawing_.Flip();
    EXPECT_TRUE(changedRect(drawing_.lastFrame(), Qt::black).isEmpty()) << unknown;
  }
  EXPECT_EQ(drawing_.GetSpriteX(real), 0);
}

TEST_F(OffscreenDrawingTest, HandlesCountUpFromOne) {
  EXPECT_EQ(drawing_.CreateSprite(), 1);
  EXPECT_EQ(drawing_.CreateSprite(), 2);
  EXPECT_EQ(drawing_.CreateSprite(), 3);
}

TEST_F(OffscreenDrawingTest, GifJpegAndPngPicturesLoad) {
  QImage redBlue(4, 2, QImage::Format_RGB32);
  redBlue.fill(Qt::red);
  for (int y = 0; y < 2; ++y) {
    redBlue.setPixelColor(2, y, Qt::blue);
    redBlue.setPixelColor(3, y, Qt::blue);
  }
  QImage bigRedBlue = redBlue.scaled(64, 32);
  struct Row {
    const char* what;
    std::string file;
    int scale;
  };
  const Row rows[] = {
      {"gif", folder_.write("rb.gif", testing::redBlueGif()), 1},
      {"png", folder_.save("rb.png", redBlue), 1},
      {"jpeg", folder_.save("rb.jpg", bigRedBlue, "JPEG"), 16},
      {"bmp", folder_.save("rb.bmp", redBlue), 1},
  };
  for (const Row& row : rows) {
    const SpriteHandle sprite = drawing_.CreateSprite();
    drawing_.LoadSpriteImage(sprite, 1, row.file, kOpaque);
    drawAlone(sprite, 0, 0, 0);
    const QColor left = at(drawing_, row.scale / 2, row.scale / 2);
    const QColor right = at(drawing_, 3 * row.scale + row.scale / 2, row.scale / 2);
    EXPECT_GT(left.red(), 200) << row.what;
    EXPECT_LT(left.blue(), 50) << row.what;
    EXPECT_GT(right.blue(), 200) << row.what;
    EXPECT_LT(right.red(), 50) << row.what;
    EXPECT_EQ(changedRect(drawing_.lastFrame(), Qt::black),
              QRect(0, 0, 4 * row.scale, 2 * row.scale))
        << row.what;
  }
}

TEST_F(OffscreenDrawingTest, PictureReloadedMidFrameDrawsTheOneThatWasCurrent) {
  QImage red(10, 10, QImage::Format_RGB32);
  red.fill(Qt::red);
  QImage green(20, 20, QImage::Format_RGB32);
  green.fill(Qt::green);
  const SpriteHandle sprite = spriteOf(red, kOpaque, "red.png");
  const std::string greenFile = folder_.save("green.png", green);
  drawing_.FillScreen(0);
  drawing_.DrawSprite(sprite);
  drawing_.LoadSpriteImage(sprite, 1, greenFile, kOpaque);
  drawing_.Flip();
  EXPECT_EQ(changedRect(drawing_.lastFrame(), Qt::black), QRect(0, 0, 10, 10));
  drawAlone(sprite, 0, 0, 0);
  EXPECT_EQ(changedRect(drawing_.lastFrame(), Qt::black), QRect(0, 0, 20, 20));
}

struct CountingSink final : DrawingEvents {
  int frames = 0;
  void FrameUpdate() override { ++frames; }
  void MouseMove() override {}
  void MouseDown() override {}
  void KeyDown() override {}
};

TEST_F(OffscreenDrawingTest, FramesAreRaisedOnlyOnceOpenAndWithASink) {
  CountingSink sink;
  drawing_.setEventSink(&sink);
  drawing_.raiseFrame();
  EXPECT_EQ(sink.frames, 0);
  EXPECT_TRUE(drawing_.InitDisplay(800, 600, 16, ""));
  drawing_.raiseFrame();
  drawing_.raiseFrame();
  EXPECT_EQ(sink.frames, 2);
  drawing_.setEventSink(nullptr);
  drawing_.raiseFrame();
  EXPECT_EQ(sink.frames, 2);
}

}  // namespace
}  // namespace skyfare
