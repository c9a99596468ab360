#include "assets/preview_scene.h"

#include <QPainter>

namespace skyfare::assets {

QImage composePreviewScene(const QImage& background, const QImage& logo, const QImage& rightBound,
                           const QImage& leftBound) {
  QImage frame = background.convertToFormat(QImage::Format_RGB32);
  {
    QPainter p(&frame);
    p.drawImage(QPoint(1, 20), logo);  // where the saver puts the logo
    p.drawImage(QPoint(70, 150), rightBound);
    p.drawImage(QPoint(400, 300), leftBound);
  }
  return frame;
}

}  // namespace skyfare::assets
