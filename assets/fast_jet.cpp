#include "assets/fast_jet.h"

#include "assets/density_canvas.h"
#include "assets/sprite_finish.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace skyfare::assets {
namespace {

constexpr QRgb kBodyGrey = 0xFF8D969E;
constexpr double kCentreY = 40.0;

// Painted nose to the right; x runs 0 (flame tip) to 1 (nose).
double x(double fraction) {
  return 1.0 + fraction * (kFastJetWidthPx - 2.0);
}

QPainterPath fuselage() {
  QPainterPath body;
  body.moveTo(x(0.11), kCentreY - 6);
  body.lineTo(x(0.62), kCentreY - 7.5);
  body.cubicTo(x(0.8), kCentreY - 7.5, x(0.92), kCentreY - 3, x(1.0), kCentreY + 1);
  body.cubicTo(x(0.9), kCentreY + 4, x(0.8), kCentreY + 6, x(0.66), kCentreY + 8);
  body.lineTo(x(0.5), kCentreY + 10);
  body.lineTo(x(0.2), kCentreY + 9);
  body.lineTo(x(0.11), kCentreY + 6);
  body.closeSubpath();
  return body;
}

void paintFlame(QPainter& p) {
  QRadialGradient glow(QPointF(x(0.1), kCentreY), x(0.11) - x(0.0));
  glow.setColorAt(0.0, QColor(255, 250, 215, 255));
  glow.setColorAt(0.3, QColor(255, 190, 70, 230));
  glow.setColorAt(0.7, QColor(255, 110, 30, 110));
  glow.setColorAt(1.0, QColor(255, 80, 20, 0));
  p.setBrush(glow);
  p.setPen(Qt::NoPen);
  QPainterPath flame;
  flame.moveTo(x(0.11), kCentreY - 5);
  flame.cubicTo(x(0.06), kCentreY - 4, x(0.02), kCentreY - 1, x(0.0), kCentreY);
  flame.cubicTo(x(0.02), kCentreY + 1, x(0.06), kCentreY + 4, x(0.11), kCentreY + 5);
  flame.closeSubpath();
  p.drawPath(flame);
}

void paintGreyPart(QPainter& p, const QPainterPath& shape, double top, double bottom) {
  p.setPen(Qt::NoPen);
  QLinearGradient shade(0.0, top, 0.0, bottom);
  shade.setColorAt(0.0, QColor(kBodyGrey).lighter(125));
  shade.setColorAt(0.5, QColor(kBodyGrey));
  shade.setColorAt(1.0, QColor(kBodyGrey).darker(150));
  p.setBrush(shade);
  p.drawPath(shape);
}

QPainterPath polygonPath(const QPolygonF& points) {
  QPainterPath path;
  path.addPolygon(points);
  path.closeSubpath();
  return path;
}

void paintCanopy(QPainter& p) {
  QPainterPath canopy;
  canopy.moveTo(x(0.63), kCentreY - 7);
  canopy.cubicTo(x(0.66), kCentreY - 17.5, x(0.76), kCentreY - 18, x(0.85), kCentreY - 6);
  canopy.closeSubpath();
  QLinearGradient glass(0.0, kCentreY - 17, 0.0, kCentreY - 7);
  glass.setColorAt(0.0, QColor(0xB4, 0xD6, 0xEE));
  glass.setColorAt(0.5, QColor(0x5C, 0x86, 0xAD));
  glass.setColorAt(1.0, QColor(0x2B, 0x44, 0x60));
  p.setBrush(glass);
  p.setPen(Qt::NoPen);
  p.drawPath(canopy);
  p.setPen(QPen(QColor(0x40, 0x46, 0x4E), 0.9));
  p.drawLine(QPointF(x(0.715), kCentreY - 15.5), QPointF(x(0.725), kCentreY - 7.3));
}

void paintDetails(QPainter& p) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x2C, 0x31, 0x38));  // air intake
  p.drawPolygon(QPolygonF{QPointF(x(0.6), kCentreY - 1), QPointF(x(0.54), kCentreY - 2),
                          QPointF(x(0.54), kCentreY + 7), QPointF(x(0.6), kCentreY + 6)});
  p.setBrush(QColor(0x4A, 0x4F, 0x56));  // nozzle
  p.drawRect(QRectF(x(0.11), kCentreY - 6, x(0.14) - x(0.11), 12));
  p.setPen(QPen(QColor(0x55, 0x5C, 0x64, 150), 0.6));  // panel lines
  for (const double at : {0.28, 0.4, 0.5}) {
    p.drawLine(QPointF(x(at), kCentreY - 6.5), QPointF(x(at), kCentreY + 8.5));
  }
  p.setPen(QPen(QColor(0x4C, 0x53, 0x5B), 1.4));  // low-visibility fin flash
  p.drawLine(QPointF(x(0.16), kCentreY - 22), QPointF(x(0.21), kCentreY - 14));
  p.drawLine(QPointF(x(0.14), kCentreY - 22), QPointF(x(0.19), kCentreY - 14));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x2E, 0x33, 0x3A));  // nose cone
  QPainterPath radome;
  radome.moveTo(x(0.95), kCentreY - 1.5);
  radome.lineTo(x(1.0), kCentreY + 1);
  radome.lineTo(x(0.95), kCentreY + 3.2);
  radome.closeSubpath();
  p.drawPath(radome);
}

}  // namespace

QImage drawFastJet(double density) {
  QImage canvas = spriteCanvas(kFastJetWidthPx, kFastJetHeightPx, density);
  {
    QPainter p(&canvas);
    drawInLogicalUnits(p, QSize(kFastJetWidthPx, kFastJetHeightPx));
    p.setRenderHint(QPainter::Antialiasing);
    paintFlame(p);
    const QPolygonF fin{QPointF(x(0.3), kCentreY - 6), QPointF(x(0.17), kCentreY - 34),
                        QPointF(x(0.11), kCentreY - 34), QPointF(x(0.12), kCentreY - 6)};
    paintGreyPart(p, polygonPath(fin), kCentreY - 34, kCentreY);
    const QPolygonF farWing{QPointF(x(0.55), kCentreY - 2), QPointF(x(0.3), kCentreY - 9),
                            QPointF(x(0.22), kCentreY - 9), QPointF(x(0.2), kCentreY - 2)};
    paintGreyPart(p, polygonPath(farWing), kCentreY - 9, kCentreY + 4);
    paintGreyPart(p, fuselage(), kCentreY - 8, kCentreY + 10);
    paintCanopy(p);
    paintDetails(p);
    const QPolygonF wing{QPointF(x(0.6), kCentreY + 4), QPointF(x(0.2), kCentreY + 34),
                         QPointF(x(0.13), kCentreY + 34), QPointF(x(0.14), kCentreY + 6)};
    paintGreyPart(p, polygonPath(wing), kCentreY, kCentreY + 40);
    const QPolygonF tailplane{QPointF(x(0.22), kCentreY + 3), QPointF(x(0.14), kCentreY + 14),
                              QPointF(x(0.1), kCentreY + 14), QPointF(x(0.12), kCentreY + 3)};
    paintGreyPart(p, polygonPath(tailplane), kCentreY, kCentreY + 16);
  }
  return finishSprite(canvas, Facing::Left);
}

}  // namespace skyfare::assets
