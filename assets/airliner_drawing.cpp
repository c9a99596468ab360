#include "assets/airliner_drawing.h"

#include "assets/density_canvas.h"
#include "assets/nacelle.h"
#include "assets/tail_mark.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace skyfare::assets {
namespace {

constexpr double kMarginPx = 2.0;
constexpr QRgb kWingGrey = 0xFFC4C9D0;
constexpr QRgb kWindowColour = 0xFF27303F;

// Proportions of one airliner, in pixels, nose to the right. Fractions are of the length.
class Frame {
 public:
  explicit Frame(const AirlinerLook& look)
      : look_(look),
        lengthPx_(look.widthPx - 2.0),
        radiusPx_((look.wideBody ? 0.05 : 0.046) * lengthPx_),
        finHeightPx_((look.engines == EngineLayout::TwinRear ? 0.145 : 0.155) * lengthPx_),
        centreY_(kMarginPx + finHeightPx_ + radiusPx_ +
                 (look.engines == EngineLayout::TwinRear ? 1.5 : 0.0)) {}

  double x(double fraction) const { return 1.0 + fraction * lengthPx_; }
  double len(double fraction) const { return fraction * lengthPx_; }
  double r() const { return radiusPx_; }
  double cy() const { return centreY_; }
  double finTop() const { return centreY_ - radiusPx_ - finHeightPx_; }
  double wingTipY() const { return centreY_ + radiusPx_ + len(0.062); }
  double engineRadius() const { return radiusPx_ * (look_.wideBody ? 0.6 : 0.52); }
  double engineY() const { return centreY_ + radiusPx_ * 1.12; }
  double outerEngineY() const { return engineY() + len(0.02); }
  double humpY() const { return centreY_ - radiusPx_ * 1.5; }
  const AirlinerLook& look() const { return look_; }

  int heightPx() const {
    const double engineBottom =
        std::max(engineY() + engineRadius(), outerEngineY() + engineRadius() * 0.88);
    return static_cast<int>(std::ceil(std::max(wingTipY(), engineBottom) + kMarginPx));
  }

 private:
  const AirlinerLook& look_;
  double lengthPx_;
  double radiusPx_;
  double finHeightPx_;
  double centreY_;
};

QPainterPath fuselagePath(const Frame& f) {
  const double cy = f.cy();
  const double r = f.r();
  QPainterPath body;
  body.moveTo(f.x(0.0), cy - 0.72 * r);
  body.cubicTo(f.x(0.07), cy - 0.86 * r, f.x(0.14), cy - r, f.x(0.22), cy - r);
  if (f.look().upperDeck) {
    body.lineTo(f.x(0.58), cy - r);
    body.cubicTo(f.x(0.64), cy - r, f.x(0.66), f.humpY(), f.x(0.72), f.humpY());
    body.lineTo(f.x(0.84), f.humpY());
    body.cubicTo(f.x(0.925), f.humpY(), f.x(0.96), cy - 0.85 * r, f.x(0.985), cy - 0.3 * r);
    body.cubicTo(f.x(0.995), cy - 0.05 * r, f.x(1.0), cy + 0.1 * r, f.x(1.0), cy + 0.25 * r);
  } else {
    body.lineTo(f.x(0.865), cy - r);
    body.cubicTo(f.x(0.935), cy - r, f.x(0.995), cy - 0.45 * r, f.x(1.0), cy + 0.2 * r);
  }
  body.cubicTo(f.x(1.0), cy + 0.7 * r, f.x(0.97), cy + r, f.x(0.91), cy + r);
  body.lineTo(f.x(0.3), cy + r);
  body.cubicTo(f.x(0.18), cy + r, f.x(0.07), cy - 0.1 * r, f.x(0.0), cy - 0.42 * r);
  body.closeSubpath();
  return body;
}

QPolygonF finOutline(const Frame& f) {
  const double rootY = f.cy() - f.r() + 2.0;
  if (f.look().engines == EngineLayout::TwinRear) {
    return {QPointF(f.x(0.2), rootY), QPointF(f.x(0.1), f.finTop()), QPointF(f.x(0.05), f.finTop()),
            QPointF(f.x(0.012), f.cy() - 0.62 * f.r())};
  }
  return {QPointF(f.x(0.215), rootY), QPointF(f.x(0.085), f.finTop()),
          QPointF(f.x(0.035), f.finTop()), QPointF(f.x(0.004), f.cy() - 0.62 * f.r())};
}

void shadeVertically(QPainter& p, const QPainterPath& shape, double top, double bottom) {
  QLinearGradient shade(0.0, top, 0.0, bottom);
  shade.setColorAt(0.0, QColor(255, 255, 255, 70));
  shade.setColorAt(0.35, QColor(255, 255, 255, 0));
  shade.setColorAt(0.7, QColor(0, 0, 0, 25));
  shade.setColorAt(1.0, QColor(0, 0, 0, 85));
  p.setBrush(shade);
  p.drawPath(shape);
}

void paintWindowRow(QPainter& p, const Frame& f, double y, double from, double to,
                    std::initializer_list<double> gaps) {
  const double sizePx = std::max(1.6, f.len(0.0052));
  const double spacing = f.len(0.0115);
  p.setBrush(QColor(kWindowColour));
  for (double x = f.x(from); x < f.x(to); x += spacing) {
    const bool inGap = std::any_of(gaps.begin(), gaps.end(), [&](double gap) {
      return std::abs(x - f.x(gap)) < spacing * 1.2;
    });
    if (!inGap) {
      p.drawRoundedRect(QRectF(x, y - sizePx * 0.7, sizePx, sizePx * 1.4), sizePx * 0.45,
                        sizePx * 0.45);
    }
  }
}

void paintDoors(QPainter& p, const Frame& f, double windowY, std::initializer_list<double> at) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(60, 66, 80, 120), 0.7));
  for (const double fraction : at) {
    p.drawRoundedRect(
        QRectF(f.x(fraction) - f.len(0.006), windowY - 0.4 * f.r(), f.len(0.012), 0.95 * f.r()),
        1.0, 1.0);
  }
  p.setPen(Qt::NoPen);
}

void paintCockpit(QPainter& p, const Frame& f) {
  const double cy = f.cy();
  const double r = f.r();
  const bool hump = f.look().upperDeck;
  const double top = hump ? cy - 1.28 * r : cy - 0.72 * r;
  const double base = hump ? cy - 1.02 * r : cy - 0.38 * r;
  const double start = hump ? 0.895 : 0.944;
  const QPolygonF windscreen{QPointF(f.x(start), base), QPointF(f.x(start + 0.004), top),
                             QPointF(f.x(start + 0.036), top + 0.2 * r),
                             QPointF(f.x(start + 0.034), base + 0.05 * r)};
  p.setBrush(QColor(0x1B, 0x23, 0x30));
  p.drawPolygon(windscreen);
  p.setPen(QPen(QColor(f.look().livery.crown), 0.7));
  p.drawLine(QPointF(f.x(start + 0.016), top), QPointF(f.x(start + 0.016), base + 0.1 * r));
  p.setPen(Qt::NoPen);
}

void paintFuselage(QPainter& p, const Frame& f) {
  const Livery& livery = f.look().livery;
  const QPainterPath body = fuselagePath(f);
  const double cy = f.cy();
  const double r = f.r();
  const double windowY = cy - 0.3 * r;
  const double width = f.len(1.0) + 2.0;
  p.save();
  p.setClipPath(body);
  p.fillRect(QRectF(0, 0, width, cy + 2 * r), QColor(livery.crown));
  p.fillRect(QRectF(0, cy + 0.32 * r, width, 2 * r), QColor(livery.belly));
  if (livery.cheat == CheatLine::ThroughWindows) {
    p.fillRect(QRectF(f.x(0.08), windowY - 0.36 * r, width, 0.62 * r), QColor(livery.cheatLine));
    p.fillRect(QRectF(f.x(0.08), windowY + 0.36 * r, width, 0.12 * r), QColor(livery.pinLine));
  } else {
    p.fillRect(QRectF(f.x(0.08), windowY + 0.2 * r, width, 0.26 * r), QColor(livery.cheatLine));
    p.fillRect(QRectF(f.x(0.08), windowY + 0.55 * r, width, 0.1 * r), QColor(livery.pinLine));
  }
  p.setPen(Qt::NoPen);
  paintWindowRow(p, f, windowY, 0.17, 0.875, {0.21, 0.52, 0.885});
  paintDoors(p, f, windowY, {0.21, 0.52, 0.885});
  if (f.look().upperDeck) {
    paintWindowRow(p, f, cy - 1.2 * r, 0.735, 0.865, {});
  }
  shadeVertically(p, body, f.look().upperDeck ? f.humpY() : cy - r, cy + r);
  paintCockpit(p, f);
  p.restore();
}

void paintFin(QPainter& p, const Frame& f) {
  const Livery& livery = f.look().livery;
  const QPolygonF fin = finOutline(f);
  QPainterPath shape;
  shape.addPolygon(fin);
  shape.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(livery.tail));
  p.drawPath(shape);
  paintTailMark(p, fin, livery.mark, livery.tailMark);
  QLinearGradient shade(fin[0], fin[3]);
  shade.setColorAt(0.0, QColor(255, 255, 255, 45));
  shade.setColorAt(1.0, QColor(0, 0, 0, 45));
  p.setBrush(shade);
  p.drawPath(shape);
}

void paintTailplane(QPainter& p, const Frame& f) {
  const double cy = f.cy();
  const double r = f.r();
  const bool tTail = f.look().engines == EngineLayout::TwinRear;
  QPolygonF plane;
  if (tTail) {
    const double top = f.finTop();
    plane = {QPointF(f.x(0.115), top + 0.5), QPointF(f.x(0.03), top + f.len(0.025)),
             QPointF(f.x(0.0), top + f.len(0.025)), QPointF(f.x(0.05), top + 0.5)};
  } else {
    plane = {QPointF(f.x(0.19), cy - 0.3 * r), QPointF(f.x(0.075), cy + 0.15 * r + f.len(0.015)),
             QPointF(f.x(0.035), cy + 0.15 * r + f.len(0.015)), QPointF(f.x(0.055), cy - 0.5 * r)};
  }
  p.setBrush(QColor(tTail ? f.look().livery.tail : f.look().livery.crown).darker(112));
  p.setPen(Qt::NoPen);
  p.drawPolygon(plane);
}

void paintWing(QPainter& p, const Frame& f) {
  const double cy = f.cy();
  const double r = f.r();
  const double tipY = f.wingTipY();
  const QPolygonF wing{QPointF(f.x(0.62), cy + 0.36 * r), QPointF(f.x(0.305), tipY),
                       QPointF(f.x(0.255), tipY), QPointF(f.x(0.39), cy + 0.62 * r)};
  QLinearGradient shade(wing[0], wing[3]);
  shade.setColorAt(0.0, QColor(kWingGrey).lighter(108));
  shade.setColorAt(1.0, QColor(kWingGrey).darker(118));
  p.setBrush(shade);
  p.setPen(Qt::NoPen);
  p.drawPolygon(wing);
  if (!f.look().wideBody && f.look().engines == EngineLayout::TwinUnderWing) {
    p.setBrush(QColor(f.look().livery.tail));
    p.drawPolygon(QPolygonF{QPointF(f.x(0.305), tipY), QPointF(f.x(0.282), tipY - f.len(0.035)),
                            QPointF(f.x(0.272), tipY - f.len(0.035)), QPointF(f.x(0.27), tipY)});
  }
}

void paintPylon(QPainter& p, const Frame& f, QPointF engine, double halfLength, double radius) {
  p.setBrush(QColor(kWingGrey).darker(110));
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygonF{QPointF(engine.x() + halfLength * 0.3, engine.y() - radius * 0.8),
                          QPointF(engine.x() - halfLength * 0.1, engine.y() - radius - f.len(0.02)),
                          QPointF(engine.x() - halfLength * 0.9, engine.y() - radius - f.len(0.02)),
                          QPointF(engine.x() - halfLength * 0.9, engine.y() - radius * 0.6)});
}

void paintEngines(QPainter& p, const Frame& f) {
  const QRgb colour = f.look().livery.engines;
  const double radius = f.engineRadius();
  switch (f.look().engines) {
    case EngineLayout::TwinUnderWing: {
      const QPointF engine(f.x(0.545), f.engineY());
      paintPylon(p, f, engine, f.len(0.075), radius);
      paintNacelle(p, engine, f.len(0.075), radius, colour);
      break;
    }
    case EngineLayout::FourUnderWing: {
      const QPointF inner(f.x(0.555), f.engineY());
      const QPointF outer(f.x(0.445), f.outerEngineY());
      paintPylon(p, f, inner, f.len(0.065), radius);
      paintNacelle(p, inner, f.len(0.065), radius, colour);
      paintPylon(p, f, outer, f.len(0.058), radius * 0.88);
      paintNacelle(p, outer, f.len(0.058), radius * 0.88, colour);
      break;
    }
    case EngineLayout::TwinRear: {
      const QPointF engine(f.x(0.225), f.cy() - 0.5 * f.r());
      p.setBrush(QColor(colour).darker(115));
      p.setPen(Qt::NoPen);
      p.drawRect(QRectF(engine.x() - f.len(0.04), engine.y(), f.len(0.05), 0.55 * f.r()));
      paintNacelle(p, engine, f.len(0.07), 0.46 * f.r(), colour);
      break;
    }
  }
}

}  // namespace

QImage drawAirliner(const AirlinerLook& look, double density) {
  const Frame frame(look);
  QImage canvas = spriteCanvas(look.widthPx, frame.heightPx(), density);
  {
    QPainter p(&canvas);
    drawInLogicalUnits(p, QSize(look.widthPx, frame.heightPx()));
    p.setRenderHint(QPainter::Antialiasing);
    paintFin(p, frame);
    paintFuselage(p, frame);
    paintTailplane(p, frame);
    paintWing(p, frame);
    paintEngines(p, frame);
  }
  return finishSprite(canvas, look.facing);
}

}  // namespace skyfare::assets
