#include "assets/nacelle.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace skyfare::assets {

void paintNacelle(QPainter& painter, QPointF centre, double halfLengthPx, double radiusPx,
                  QRgb colour) {
  const double front = centre.x() + halfLengthPx;
  const double back = centre.x() - halfLengthPx;
  const double cy = centre.y();
  QPainterPath pod;
  pod.moveTo(front, cy - radiusPx);
  pod.cubicTo(centre.x(), cy - radiusPx * 1.08, back + halfLengthPx * 0.4, cy - radiusPx * 0.9,
              back, cy - radiusPx * 0.55);
  pod.lineTo(back, cy + radiusPx * 0.55);
  pod.cubicTo(back + halfLengthPx * 0.4, cy + radiusPx * 0.9, centre.x(), cy + radiusPx * 1.08,
              front, cy + radiusPx);
  pod.closeSubpath();

  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(colour));
  painter.drawPath(pod);
  QLinearGradient shade(0.0, cy - radiusPx, 0.0, cy + radiusPx);
  shade.setColorAt(0.0, QColor(255, 255, 255, 80));
  shade.setColorAt(0.4, QColor(255, 255, 255, 0));
  shade.setColorAt(1.0, QColor(0, 0, 0, 90));
  painter.setBrush(shade);
  painter.drawPath(pod);

  // Exhaust cone behind the pod and the dark inlet lip at its front.
  painter.setBrush(QColor(0x5A, 0x5F, 0x66));
  painter.drawPolygon(QPolygonF{QPointF(back + 0.5, cy - radiusPx * 0.45),
                                QPointF(back - halfLengthPx * 0.28, cy),
                                QPointF(back + 0.5, cy + radiusPx * 0.45)});
  painter.setBrush(QColor(0x2A, 0x2E, 0x35));
  painter.drawEllipse(QPointF(front - radiusPx * 0.12, cy), radiusPx * 0.2, radiusPx * 0.98);
  painter.restore();
}

}  // namespace skyfare::assets
