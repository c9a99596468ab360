#include "assets/sprite_finish.h"

#include "assets/density_canvas.h"

namespace skyfare::assets {

QImage finishSprite(const QImage& paintedFacingRight, Facing facing) {
  const QImage turned =
      facing == Facing::Left ? paintedFacingRight.mirrored(true, false) : paintedFacingRight;
  return turned.convertToFormat(QImage::Format_ARGB32);
}

QImage spriteCanvas(int widthPx, int heightPx, double density) {
  QImage canvas =
      densityCanvas(QSize(widthPx, heightPx), density, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  return canvas;
}

}  // namespace skyfare::assets
