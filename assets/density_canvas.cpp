#include "assets/density_canvas.h"

#include <cmath>

namespace skyfare::assets {

QSize sizeAtDensity(QSize logicalSize, double density) {
  return {static_cast<int>(std::lround(logicalSize.width() * density)),
          static_cast<int>(std::lround(logicalSize.height() * density))};
}

QImage densityCanvas(QSize logicalSize, double density, QImage::Format format) {
  return QImage(sizeAtDensity(logicalSize, density), format);
}

void drawInLogicalUnits(QPainter& painter, QSize logicalSize) {
  const QSize pixels(painter.device()->width(), painter.device()->height());
  if (pixels != logicalSize) {
    painter.scale(static_cast<double>(pixels.width()) / logicalSize.width(),
                  static_cast<double>(pixels.height()) / logicalSize.height());
  }
}

}  // namespace skyfare::assets
