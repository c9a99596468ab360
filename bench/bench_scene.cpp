#include "bench/bench_scene.h"

#include <QImage>
#include <QPainter>
#include <QRadialGradient>

namespace skyfare::bench {
namespace {

constexpr int kTurnAfterPx = 300;

QImage skyPicture() {
  QImage image(kSceneWidth, kSceneHeight, QImage::Format_RGB32);
  for (int y = 0; y < kSceneHeight; ++y) {
    for (int x = 0; x < kSceneWidth; ++x)
      image.setPixel(x, y, qRgb(40 + y / 5, 120 + y / 8, 200 + (x * 7 + y * 3) % 55));
  }
  return image;
}

QImage aircraftPicture() {
  QImage image(330, 100, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::darkGray);
  painter.setBrush(Qt::white);
  painter.drawEllipse(QRect(10, 35, 310, 30));
  painter.setBrush(Qt::red);
  painter.drawPolygon(QPolygon({QPoint(140, 40), QPoint(200, 2), QPoint(220, 2), QPoint(180, 45)}));
  return image;
}

}  // namespace

BenchScene::BenchScene(DrawingControl& drawing) : drawing_(drawing) {
  const QString backgroundFile = folder_.filePath(QStringLiteral("sky.bmp"));
  const QString aircraftFile = folder_.filePath(QStringLiteral("aircraft.png"));
  skyPicture().save(backgroundFile);
  aircraftPicture().save(aircraftFile);
  background_ = drawing_.CreateSprite();
  drawing_.LoadSpriteImage(background_, 1, backgroundFile.toStdString(), kOpaque);
  for (std::size_t i = 0; i < aircraft_.size(); ++i) {
    aircraft_[i] = drawing_.CreateSprite();
    drawing_.LoadSpriteImage(aircraft_[i], 1, aircraftFile.toStdString(), kTransparentBackground);
    drawing_.SetSpriteX(aircraft_[i], 50 + static_cast<int>(i) * 150);
    drawing_.SetSpriteY(aircraft_[i], 80 + static_cast<int>(i) * 150);
  }
}

void BenchScene::compose() {
  drawing_.DrawSprite(background_);
  drawing_.SetSpriteX(background_, 0);
  drawing_.SetSpriteY(background_, 0);
  drawing_.SetFont("DejaVu Sans", 20, 1, false, false, false);
  drawing_.DrawText("Welcome aboard", 5, 570, 0xFFFF00);
  for (SpriteHandle aircraft : aircraft_) drawing_.DrawSprite(aircraft);
  drawing_.SetFont("DejaVu Sans", 20, 1, false, false, false);
  drawing_.DrawText("3:45:12 PM", 0, 0, 0x00FFFF);
  drawing_.Flip();
}

void BenchScene::moveAircraft() {
  for (SpriteHandle aircraft : aircraft_) drawing_.MoveSpriteX(aircraft, step_);
  if (++travelled_ == kTurnAfterPx) {
    travelled_ = 0;
    step_ = -step_;
  }
}

}  // namespace skyfare::bench
