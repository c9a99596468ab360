#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <random>

#include "drawing/display_list_control.h"
#include "drawing/frame_damage.h"
#include "drawing/scene_renderer.h"
#include "tests/support/list_recorder.h"
#include "tests/support/picture_files.h"

namespace skyfare {
namespace {

using testing::ListRecorder;

QImage noisyPicture(QSize size, std::mt19937& random) {
  QImage image(size, QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      const int noise = static_cast<int>(random() % 40);
      image.setPixel(x, y, qRgb((x + noise) % 256, (y + noise) % 256, (x * y / 64) % 256));
    }
  }
  return image;
}

// An ellipse whose edge fades out, so scaled edges blend.
QImage softEllipse(QSize size, QColor colour) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  QRadialGradient gradient(QPointF(size.width() / 2.0, size.height() / 2.0), size.width() / 2.0);
  gradient.setColorAt(0.0, colour);
  gradient.setColorAt(1.0, Qt::transparent);
  painter.setBrush(gradient);
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(QRect(QPoint(0, 0), size));
  return image;
}

// A random flight: sprites that drift, jump off and on the scene, vanish and come back, a
// background that switches between a picture and fills, a message and a clock that change.
class RandomScene {
 public:
  explicit RandomScene(testing::PictureFolder& folder) : random_(20240611) {
    background_ = load(folder, "bg.bmp", noisyPicture({800, 600}, random_), kOpaque);
    sprites_.push_back(
        load(folder, "soft.png", softEllipse({330, 100}, Qt::white), kTransparentBackground));
    sprites_.push_back(
        load(folder, "soft2.png", softEllipse({77, 45}, Qt::red), kTransparentBackground));
    sprites_.push_back(load(folder, "keyed.bmp",
                            testing::framedSquare({121, 41}, Qt::magenta, Qt::yellow, 7),
                            kTransparentBackground));
    sprites_.push_back(load(folder, "noise.png", noisyPicture({63, 37}, random_), kOpaque));
    for (SpriteHandle sprite : sprites_) {
      recorder_.SetSpriteX(sprite, pick(-100, 800));
      recorder_.SetSpriteY(sprite, pick(-50, 600));
    }
  }

  const DisplayList& nextFrame() {
    if (pick(0, 19) == 0)
      backgroundFill_ = pick(0, 2) == 0 ? 0 : static_cast<SceneColour>(random_() & 0xFFFFFF);
    if (backgroundFill_ == kPicture) {
      recorder_.DrawSprite(background_);
    } else {
      recorder_.FillScreen(backgroundFill_);
    }
    if (pick(0, 9) == 0)
      message_ = "Flight " + std::to_string(pick(0, 999999));
    if (pick(0, 14) == 0)
      messageSize_ = pick(0, 3) == 0 ? 0 : pick(8, 48);
    recorder_.SetFont("DejaVu Sans", messageSize_, 1, false, false, false);
    recorder_.DrawText(message_, 5, 590 - messageSize_, 0xFFFF00);
    for (SpriteHandle sprite : sprites_) {
      if (pick(0, 24) == 0) {
        recorder_.SetSpriteX(sprite, pick(-400, 1000));
        recorder_.SetSpriteY(sprite, pick(-200, 700));
      } else {
        recorder_.MoveSpriteX(sprite, pick(-3, 3));
        recorder_.MoveSpriteY(sprite, pick(-2, 2));
      }
      if (pick(0, 9) != 0)
        recorder_.DrawSprite(sprite);
    }
    if (pick(0, 4) == 0)
      ++seconds_;
    recorder_.SetFont("DejaVu Sans", 17, 1, false, false, false);
    recorder_.DrawText("12:00:" + std::to_string(seconds_) + " AM", 0, 0, 0x00FFFF);
    recorder_.Flip();
    return recorder_.flipped;
  }

 private:
  static constexpr SceneColour kPicture = 0xFFFFFFFF;

  SpriteHandle load(testing::PictureFolder& folder, const QString& name, const QImage& image,
                    int mode) {
    const SpriteHandle sprite = recorder_.CreateSprite();
    recorder_.LoadSpriteImage(sprite, 1, folder.save(name, image), mode);
    return sprite;
  }
  int pick(int low, int high) { return std::uniform_int_distribution(low, high)(random_); }

  std::mt19937 random_;
  ListRecorder recorder_;
  SpriteHandle background_ = 0;
  std::vector<SpriteHandle> sprites_;
  SceneColour backgroundFill_ = kPicture;
  std::string message_ = "Welcome aboard";
  int messageSize_ = 20;
  int seconds_ = 10;
};

std::string firstDifference(const QImage& a, const QImage& b) {
  int count = 0;
  QPoint first;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y) && count++ == 0)
        first = QPoint(x, y);
    }
  }
  return std::to_string(count) + " pixels differ, first at " + std::to_string(first.x()) + "," +
         std::to_string(first.y());
}

TEST(IncrementalRenderTest, PaintingOnlyTheDamageGivesTheFullFrameAtEveryScale) {
  constexpr int kFrames = 90;
  for (const QSize size :
       {QSize(800, 600), QSize(1920, 1080), QSize(1366, 768), QSize(1001, 701), QSize(640, 480)}) {
    testing::PictureFolder folder;
    RandomScene scene(folder);
    SceneRenderer incremental(size);
    SceneRenderer full(size);
    QImage kept(size, QImage::Format_RGB32);
    {
      QPainter painter(&kept);
      incremental.renderBars(painter);
      incremental.render(painter, {}, incremental.mapping().content());
    }
    DisplayList previous;
    for (int frame = 0; frame < kFrames; ++frame) {
      const DisplayList& next = scene.nextFrame();
      {
        QPainter painter(&kept);
        incremental.render(painter, next,
                           incremental.mapping().toTarget(frameDamage(previous, next)));
      }
      previous = next;

      QImage fresh(size, QImage::Format_RGB32);
      fresh.fill(QColor(12, 34, 56));
      {
        QPainter painter(&fresh);
        full.renderBars(painter);
        full.render(painter, next, full.mapping().content());
      }
      ASSERT_TRUE(kept == fresh) << size.width() << "x" << size.height() << " frame " << frame
                                 << ": " << firstDifference(kept, fresh);
    }
  }
}

// A screen window paints a few rows at a time into a store smaller than the screen, through a
// painter moved up to those rows.
TEST(IncrementalRenderTest, PaintingInStretchesOfRowsGivesTheWholePicture) {
  constexpr int kFrames = 20;
  constexpr int kStoreRows = 97;
  for (const QSize size : {QSize(800, 600), QSize(1920, 1080), QSize(1001, 701)}) {
    testing::PictureFolder folder;
    RandomScene scene(folder);
    SceneRenderer stretches(size);
    SceneRenderer whole(size);
    for (int frame = 0; frame < kFrames; ++frame) {
      const DisplayList& list = scene.nextFrame();
      QImage expected(size, QImage::Format_RGB32);
      {
        QPainter painter(&expected);
        whole.renderBars(painter);
        whole.render(painter, list, whole.mapping().content());
      }
      QImage pieced(size, QImage::Format_RGB32);
      for (int top = 0; top < size.height(); top += kStoreRows) {
        const QRect rows(0, top, size.width(), std::min(kStoreRows, size.height() - top));
        QImage store(rows.size(), QImage::Format_RGB32);
        {
          QPainter painter(&store);
          painter.translate(0, -top);
          painter.setClipRect(rows);
          stretches.renderBars(painter);
          stretches.render(painter, list, rows);
        }
        QPainter(&pieced).drawImage(rows.topLeft(), store);
      }
      ASSERT_TRUE(pieced == expected) << size.width() << "x" << size.height() << " frame " << frame
                                      << ": " << firstDifference(pieced, expected);
    }
  }
}

TEST(IncrementalRenderTest, BarsStayBlackWhateverTheSceneDraws) {
  testing::PictureFolder folder;
  ListRecorder recorder;
  const SpriteHandle sprite = recorder.CreateSprite();
  QImage white(200, 200, QImage::Format_RGB32);
  white.fill(Qt::white);
  recorder.LoadSpriteImage(sprite, 1, folder.save("w.png", white), kOpaque);
  recorder.SetSpriteX(sprite, -100);
  recorder.FillScreen(0xFFFFFF);
  recorder.DrawSprite(sprite);
  recorder.SetFont("DejaVu Sans", 40, 1, false, false, false);
  recorder.DrawText("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", -20, 0, 0xFFFFFF);
  recorder.Flip();

  SceneRenderer renderer(QSize(1920, 1080));
  QImage target(1920, 1080, QImage::Format_RGB32);
  QPainter painter(&target);
  renderer.renderBars(painter);
  renderer.render(painter, recorder.flipped, QRegion(0, 0, 1920, 1080));
  painter.end();
  for (const QRect& bar : {QRect(0, 0, 240, 1080), QRect(1680, 0, 240, 1080)}) {
    const QImage pixels = target.copy(bar);
    QImage black(bar.size(), QImage::Format_RGB32);
    black.fill(Qt::black);
    EXPECT_TRUE(pixels == black) << bar.x();
  }
  EXPECT_EQ(target.pixelColor(239, 500), QColor(Qt::black));
  EXPECT_EQ(target.pixelColor(240, 500), QColor(Qt::white));
  EXPECT_EQ(target.pixelColor(1679, 500), QColor(Qt::white));
  EXPECT_EQ(target.pixelColor(1680, 500), QColor(Qt::black));
}

}  // namespace
}  // namespace skyfare
