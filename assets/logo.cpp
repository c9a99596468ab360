#include "assets/logo.h"

#include "assets/density_canvas.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace skyfare::assets {
namespace {

constexpr int kLetterHeightPx = 30;
constexpr QRgb kPlateTop = 0xFF0F1B3D;
constexpr QRgb kPlateBottom = 0xFF050A1C;
constexpr QRgb kFinLight = 0xFFFFB347;
constexpr QRgb kFinDark = 0xFFE0522A;

void paintPlate(QPainter& p) {
  QLinearGradient plate(0, 0, 0, kLogoHeightPx);
  plate.setColorAt(0.0, QColor(kPlateTop));
  plate.setColorAt(1.0, QColor(kPlateBottom));
  p.fillRect(0, 0, kLogoWidthPx, kLogoHeightPx, plate);
  p.setPen(QPen(QColor(0x4A, 0x6F, 0xB0), 1.0));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(0.5, 0.5, kLogoWidthPx - 1, kLogoHeightPx - 1));
}

void paintFin(QPainter& p) {
  QPainterPath fin;
  fin.moveTo(10, 50);
  fin.lineTo(26, 12);
  fin.cubicTo(30, 8, 38, 8, 40, 10);
  fin.lineTo(34, 34);
  fin.cubicTo(33, 42, 38, 48, 46, 50);
  fin.closeSubpath();
  QLinearGradient colour(10, 50, 40, 10);
  colour.setColorAt(0.0, QColor(kFinDark));
  colour.setColorAt(1.0, QColor(kFinLight));
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(fin);
  p.setBrush(QColor(0xFF, 0xF2, 0xD8));
  p.drawEllipse(QPointF(28.5, 24), 4.5, 4.5);
}

void paintWord(QPainter& p) {
  QFont face(QStringLiteral("DejaVu Sans"));
  face.setPixelSize(kLetterHeightPx);
  face.setBold(true);
  face.setItalic(true);
  QPainterPath word;
  word.addText(QPointF(50, 39), face, QStringLiteral("Skyfare"));
  const QRectF bounds = word.boundingRect();
  const double room = kLogoWidthPx - 50 - 8;
  if (bounds.width() > room) {
    QTransform squeeze;
    squeeze.translate(50, 0).scale(room / bounds.width(), 1.0).translate(-50, 0);
    word = squeeze.map(word);
  }
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xF4, 0xF7, 0xFF));
  p.drawPath(word);
  QPainterPath swoosh;
  swoosh.moveTo(48, 49);
  swoosh.cubicTo(90, 42, 130, 44, 172, 47);
  swoosh.cubicTo(130, 47, 90, 47, 48, 51);
  swoosh.closeSubpath();
  p.setBrush(QColor(kFinLight));
  p.drawPath(swoosh);
}

}  // namespace

QImage drawLogo(double density) {
  QImage logo = densityCanvas(QSize(kLogoWidthPx, kLogoHeightPx), density, QImage::Format_RGB32);
  {
    QPainter p(&logo);
    drawInLogicalUnits(p, QSize(kLogoWidthPx, kLogoHeightPx));
    p.setRenderHint(QPainter::Antialiasing);
    paintPlate(p);
    paintFin(p);
    paintWord(p);
  }
  return logo;
}

}  // namespace skyfare::assets
