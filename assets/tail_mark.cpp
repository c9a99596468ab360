#include "assets/tail_mark.h"

#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace skyfare::assets {
namespace {

// The fin outline runs root leading edge, tip leading edge, tip trailing edge, root trailing edge.
struct FinFrame {
  QPointF rootLeading;
  QPointF tipLeading;
  QPointF tipTrailing;
  QPointF centre;
  double heightPx;
};

FinFrame frameOf(const QPolygonF& fin) {
  const QPointF centre = (fin[0] + fin[1] + fin[2] + fin[3]) / 4.0;
  return {fin[0], fin[1], fin[2], centre, fin[0].y() - fin[1].y()};
}

QPolygonF star(QPointF centre, double outerPx, double innerPx) {
  QPolygonF points;
  for (int i = 0; i < 10; ++i) {
    const double angle = -std::numbers::pi / 2.0 + i * std::numbers::pi / 5.0;
    const double radius = i % 2 == 0 ? outerPx : innerPx;
    points << centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
  }
  return points;
}

void strokeAlongLeadingEdge(QPainter& painter, const FinFrame& frame, double offsetPx,
                            double widthPx) {
  painter.setPen(QPen(painter.brush().color(), widthPx, Qt::SolidLine, Qt::FlatCap));
  const QPointF shift(-offsetPx, 0.0);
  const QPointF along = frame.tipLeading - frame.rootLeading;
  painter.drawLine(frame.rootLeading + shift - along * 0.2, frame.tipLeading + shift + along * 0.2);
}

}  // namespace

void paintTailMark(QPainter& painter, const QPolygonF& fin, TailMark mark, QRgb colour) {
  const FinFrame frame = frameOf(fin);
  const double size = frame.heightPx;
  painter.save();
  QPainterPath clip;
  clip.addPolygon(fin);
  painter.setClipPath(clip, Qt::IntersectClip);
  painter.setBrush(QColor(colour));
  painter.setPen(Qt::NoPen);
  const QPointF centre = frame.centre + QPointF(0.0, -0.05 * size);
  switch (mark) {
    case TailMark::Circle:
      painter.drawEllipse(centre, 0.24 * size, 0.24 * size);
      break;
    case TailMark::Stripes:
      for (int i = 1; i <= 3; ++i) {
        strokeAlongLeadingEdge(painter, frame, 0.13 * size * i, 0.065 * size);
      }
      break;
    case TailMark::Chevron: {
      painter.setPen(QPen(QColor(colour), 0.1 * size, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
      painter.setBrush(Qt::NoBrush);
      for (int i = 0; i < 2; ++i) {
        const QPointF tip = centre + QPointF(0.14 * size - i * 0.2 * size, 0.0);
        const QPointF arm(-0.22 * size, 0.24 * size);
        painter.drawPolyline(QPolygonF{tip + QPointF(arm.x(), -arm.y()), tip, tip + arm});
      }
      break;
    }
    case TailMark::Band:
      painter.setPen(QPen(QColor(colour), 0.28 * size, Qt::SolidLine, Qt::FlatCap));
      painter.drawLine(QPointF(frame.rootLeading.x(), frame.rootLeading.y() + 0.1 * size),
                       frame.tipTrailing + QPointF(-0.1 * size, -0.1 * size));
      break;
    case TailMark::Diamond: {
      const double half = 0.22 * size;
      painter.drawPolygon(QPolygonF{centre + QPointF(0, -half), centre + QPointF(half * 0.8, 0),
                                    centre + QPointF(0, half), centre + QPointF(-half * 0.8, 0)});
      break;
    }
    case TailMark::Star:
      painter.drawPolygon(star(centre, 0.27 * size, 0.11 * size));
      break;
    case TailMark::Wave: {
      QPainterPath wave;
      const double left = frame.centre.x() - size;
      for (int step = 0; step <= 40; ++step) {
        const double x = left + step * size / 20.0;
        const double y =
            centre.y() + 0.12 * size * std::sin((x - left) / size * 2.0 * std::numbers::pi);
        if (step == 0) {
          wave.moveTo(x, y);
        } else {
          wave.lineTo(x, y);
        }
      }
      painter.setBrush(Qt::NoBrush);
      painter.setPen(QPen(QColor(colour), 0.12 * size, Qt::SolidLine, Qt::FlatCap));
      painter.drawPath(wave);
      painter.setPen(QPen(QColor(colour), 0.04 * size, Qt::SolidLine, Qt::FlatCap));
      painter.drawPath(wave.translated(0.0, 0.2 * size));
      break;
    }
  }
  painter.restore();
}

}  // namespace skyfare::assets
