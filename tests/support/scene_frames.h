#pragma once

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

#include "drawing/display_list_control.h"
#include "drawing/scene_renderer.h"
#include "tests/support/picture_files.h"

namespace skyfare::testing {

// What one renderer paints of the whole list into one picture of an output, as on X11.
class WholeFramePainter final : public DisplayListControl {
 public:
  explicit WholeFramePainter(QSize output)
      : renderer_(output, scaledPictures()), frame_(output, QImage::Format_RGB32) {}
  void setEventSink(DrawingEvents*) override {}
  void setVisible(bool) override {}
  bool InitDisplay(int, int, int, std::string_view) override { return true; }
  void Flip() override {
    presentComposedFrame();
    QPainter painter(&frame_);
    renderer_.renderBars(painter);
    renderer_.render(painter, presented(), QRegion(QRect(QPoint(0, 0), frame_.size())));
  }
  const QImage& frame() const { return frame_; }

 private:
  SceneRenderer renderer_;
  QImage frame_;
};

int largestChannelDifference(const QImage& a, const QImage& b) {
  int largest = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q))});
    }
  }
  return largest;
}

// A scene like the saver's: an opaque background, a tall half-transparent logo, a message, two
// half-transparent aircraft that overlap, one of them across the scene's left edge, and a clock.
// Scaled up, the logo takes several strips to paint and bands to pack.
class SceneCalls {
 public:
  SceneCalls() {
    QImage sky(kSceneWidth, 450, QImage::Format_RGB32);
    sky.fill(QColor(40, 120, 200));
    skyFile_ = folder_.save("sky.bmp", sky);
    QImage plane(121, 61, QImage::Format_ARGB32);
    for (int y = 0; y < plane.height(); ++y) {
      for (int x = 0; x < plane.width(); ++x)
        plane.setPixelColor(x, y, QColor(250, 2 * x, 4 * y, 2 * x + 10));
    }
    planeFile_ = folder_.save("plane.png", plane);
    QImage logo(150, 380, QImage::Format_ARGB32);
    for (int y = 0; y < logo.height(); ++y) {
      for (int x = 0; x < logo.width(); ++x)
        logo.setPixelColor(x, y, QColor(8 * (y / 16), 255 - 8 * (x / 8), 90, 60 + 5 * (y / 20)));
    }
    logoFile_ = folder_.save("logo.png", logo);
  }
  void load(DrawingControl& drawing) {
    for (SpriteHandle& sprite : sprites_) sprite = drawing.CreateSprite();
    drawing.LoadSpriteImage(sprites_[0], 1, skyFile_, kOpaque);
    drawing.LoadSpriteImage(sprites_[1], 1, planeFile_, kTransparentBackground);
    drawing.LoadSpriteImage(sprites_[2], 1, planeFile_, kTransparentBackground);
    drawing.LoadSpriteImage(sprites_[3], 1, logoFile_, kTransparentBackground);
    drawing.SetSpriteX(sprites_[3], 560);
    drawing.SetSpriteY(sprites_[3], 90);
  }
  void compose(DrawingControl& drawing, int step) {
    drawing.DrawSprite(sprites_[0]);
    drawing.DrawSprite(sprites_[3]);
    drawing.SetFont("DejaVu Sans", 23, 1, false, false, false);
    drawing.DrawText("Welcome aboard", 101, 503, 0xFFFF00);
    drawing.SetSpriteX(sprites_[1], -37 + 7 * step);
    drawing.SetSpriteY(sprites_[1], 101 + 3 * step);
    drawing.DrawSprite(sprites_[1]);
    drawing.SetSpriteX(sprites_[2], 41 + 5 * step);
    drawing.SetSpriteY(sprites_[2], 133);
    drawing.DrawSprite(sprites_[2]);
    drawing.SetFont("DejaVu Sans", 17, 1, false, false, false);
    drawing.DrawText(step == 0 ? "10:59" : "11:00", 0, 0, 0x00FFFF);
    drawing.Flip();
  }

 private:
  testing::PictureFolder folder_;
  std::string skyFile_;
  std::string planeFile_;
  std::string logoFile_;
  SpriteHandle sprites_[4] = {};
};

}  // namespace skyfare::testing
