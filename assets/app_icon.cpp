#include "assets/app_icon.h"

#include "assets/airliner_drawing.h"
#include "assets/airliner_look.h"
#include "assets/city_skyline.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cstdio>

namespace skyfare::assets {
namespace {

constexpr double kPlateMarginShare = 1.0 / 16;  // icon themes leave a little room around
constexpr double kCornerShare = 0.2;
constexpr double kClimbDeg = -28.0;
constexpr double kAirlinerLengthShare = 0.98;
// The airliner is drawn this long and scaled down, so its window row blends into the fuselage
// the way a photograph's would instead of darkening it at small sizes.
constexpr int kDrawnAirlinerLengthPx = 1024;
constexpr QRgb kRimColour = 0xFF4A6FB0;

// The part of the city picture that holds its tallest towers and the moon's sky above them.
constexpr QRect kCityCrop(230, 20, 540, 540);

QPainterPath platePath(int sizePx) {
  const double margin = sizePx * kPlateMarginShare;
  const double side = sizePx - 2 * margin;
  QPainterPath plate;
  plate.addRoundedRect(QRectF(margin, margin, side, side), side * kCornerShare,
                       side * kCornerShare);
  return plate;
}

void paintCity(QPainter& p, const QPainterPath& plate) {
  const QImage city = drawCitySkyline().copy(kCityCrop);
  p.save();
  p.setClipPath(plate);
  p.drawImage(plate.boundingRect(), city.scaled(plate.boundingRect().size().toSize(),
                                                Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  p.restore();
  p.setPen(QPen(QColor(kRimColour), std::max(1.0, plate.boundingRect().width() / 64)));
  p.setBrush(Qt::NoBrush);
  p.drawPath(plate);
}

void paintAirliner(QPainter& p, int sizePx) {
  AirlinerLook look = airlinerFleet().front();
  look.widthPx = kDrawnAirlinerLengthPx;
  const QImage airliner = drawAirliner(look).scaledToWidth(
      static_cast<int>(sizePx * kAirlinerLengthShare), Qt::SmoothTransformation);
  p.save();
  p.translate(sizePx / 2.0, sizePx / 2.0);
  p.rotate(kClimbDeg);
  p.drawImage(QPointF(-airliner.width() / 2.0, -airliner.height() / 2.0), airliner);
  p.restore();
}

}  // namespace

QImage drawAppIcon(int sizePx) {
  QImage icon(sizePx, sizePx, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  {
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    paintCity(p, platePath(sizePx));
    paintAirliner(p, sizePx);
  }
  return icon.convertToFormat(QImage::Format_ARGB32);
}

bool writeAppIcons(const QDir& themeFolder, const QString& iconName, std::span<const int> sizesPx) {
  bool allWritten = true;
  for (const int sizePx : sizesPx) {
    const QString folder = QStringLiteral("%1x%1/apps").arg(sizePx);
    const QString path = themeFolder.filePath(folder + QLatin1Char('/') + iconName + ".png");
    if (sizePx <= 0 || !themeFolder.mkpath(folder) || !drawAppIcon(sizePx).save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      allWritten = false;
    }
  }
  return allWritten;
}

}  // namespace skyfare::assets
