#include "assets/city_skyline.h"

#include "assets/density_canvas.h"
#include "assets/pseudo_random.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>

namespace skyfare::assets {
namespace {

constexpr int kWaterlineY = 520;
constexpr std::uint64_t kCitySeed = 0x5C17E5ULL;
constexpr int kStarCount = 70;

void paintSky(QPainter& p, PseudoRandom& random) {
  QLinearGradient sky(0, 0, 0, kWaterlineY);
  sky.setColorAt(0.0, QColor(0x03, 0x04, 0x0C));
  sky.setColorAt(0.55, QColor(0x07, 0x0C, 0x22));
  sky.setColorAt(0.85, QColor(0x12, 0x1C, 0x3E));
  sky.setColorAt(1.0, QColor(0x2A, 0x2A, 0x4A));
  p.fillRect(0, 0, kSceneWidthPx, kWaterlineY, sky);
  p.setPen(Qt::NoPen);
  for (int i = 0; i < kStarCount; ++i) {
    const QPointF at(random.between(0, kSceneWidthPx), random.between(0, 330) * random.unit());
    const int level = random.integer(70, 200);
    p.setBrush(QColor(level, level, std::min(255, level + 25)));
    const double size = random.chance(0.12) ? 1.3 : 0.8;
    p.drawEllipse(at, size * 0.6, size * 0.6);
  }
  const QPointF moon(668, 92);
  QRadialGradient halo(moon, 70);
  halo.setColorAt(0.0, QColor(200, 210, 235, 60));
  halo.setColorAt(1.0, QColor(200, 210, 235, 0));
  p.setBrush(halo);
  p.drawEllipse(moon, 70, 70);
  p.setBrush(QColor(0xE8, 0xE6, 0xD6));
  p.drawEllipse(moon, 20, 20);
  p.setBrush(QColor(0xCF, 0xCC, 0xBC));
  p.drawEllipse(moon + QPointF(-6, -5), 4.5, 4.5);
  p.drawEllipse(moon + QPointF(7, 6), 3, 3);
}

struct Tower {
  int left;
  int width;
  int top;
};

void paintWindows(QPainter& p, PseudoRandom& random, const Tower& tower, double litShare) {
  const int column = 5;
  const int row = 7;
  for (int y = tower.top + 6; y < kWaterlineY - 6; y += row) {
    for (int x = tower.left + 3; x + 3 < tower.left + tower.width - 2; x += column) {
      if (!random.chance(litShare)) {
        continue;
      }
      const bool white = random.chance(0.3);
      const int warmth = random.integer(0, 40);
      p.fillRect(QRectF(x, y, 2.5, 3.5),
                 white ? QColor(235, 235, 220 - warmth) : QColor(255, 205 - warmth, 110 - warmth));
    }
  }
}

// A row of towers across the whole width; near rows are taller, darker and more brightly lit.
void paintTowerRow(QPainter& p, PseudoRandom& random, int lowestTop, int highestTop, QColor body,
                   double litShare) {
  for (int x = -random.integer(0, 20); x < kSceneWidthPx;) {
    Tower tower{x, random.integer(28, 70), random.integer(highestTop, lowestTop)};
    p.fillRect(tower.left, tower.top, tower.width, kWaterlineY - tower.top, body);
    if (random.chance(0.25)) {  // set-back crown
      p.fillRect(tower.left + tower.width / 4, tower.top - 14, tower.width / 2, 14, body);
    }
    if (random.chance(0.15)) {  // mast with a warning light
      const int mastX = tower.left + tower.width / 2;
      p.fillRect(mastX, tower.top - 30, 1, 30, body);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(230, 40, 30));
      p.drawEllipse(QPointF(mastX + 0.5, tower.top - 31), 1.4, 1.4);
    }
    paintWindows(p, random, tower, litShare);
    x += tower.width + random.integer(-6, 8);
  }
}

// The river mirrors the city upside down, broken into ripples and dimmed. It works on the
// picture's own pixels, so each ripple row of the 1× picture spans `density` rows of a denser one.
void paintRiver(QImage& scene, PseudoRandom& random) {
  constexpr int kRiverRows = kSceneHeightPx - kWaterlineY;
  const double density = static_cast<double>(scene.height()) / kSceneHeightPx;
  const int waterline = static_cast<int>(std::lround(kWaterlineY * density));
  const int width = scene.width();
  const QImage city = scene.copy(0, 0, width, waterline);
  std::array<int, kRiverRows> shiftPx{};
  for (int row = 0; row < kRiverRows; ++row) {
    shiftPx[row] = static_cast<int>(
        std::lround((3.0 * std::sin(row * 0.9) + random.between(-1.5, 1.5)) * density));
  }
  for (int y = waterline; y < scene.height(); ++y) {
    const double depth = (y - waterline) / density;
    const int shift = shiftPx[std::min(static_cast<int>(depth), kRiverRows - 1)];
    const int sourceY = std::clamp(waterline - 1 - (y - waterline) * 2, 0, waterline - 1);
    const double dim = 0.42 - 0.25 * depth / kRiverRows;
    auto* out = reinterpret_cast<QRgb*>(scene.scanLine(y));
    const auto* in = reinterpret_cast<const QRgb*>(city.constScanLine(sourceY));
    for (int x = 0; x < width; ++x) {
      const QRgb source = in[std::clamp(x + shift, 0, width - 1)];
      out[x] =
          qRgb(static_cast<int>(qRed(source) * dim) + 2, static_cast<int>(qGreen(source) * dim) + 4,
               static_cast<int>(qBlue(source) * dim) + 12);
    }
  }
}

}  // namespace

QImage drawCitySkyline(double density) {
  const QSize logicalSize(kSceneWidthPx, kSceneHeightPx);
  QImage scene = densityCanvas(logicalSize, density, QImage::Format_RGB32);
  PseudoRandom random(kCitySeed);
  {
    QPainter p(&scene);
    drawInLogicalUnits(p, logicalSize);
    p.setRenderHint(QPainter::Antialiasing);
    paintSky(p, random);
    paintTowerRow(p, random, 470, 400, QColor(0x15, 0x19, 0x2C), 0.18);
    paintTowerRow(p, random, 490, 345, QColor(0x0B, 0x0D, 0x18), 0.32);
    p.fillRect(0, kWaterlineY - 4, kSceneWidthPx, 4, QColor(0x08, 0x09, 0x10));
  }
  paintRiver(scene, random);
  return scene;
}

}  // namespace skyfare::assets
