#include "drawing/scene_mapping.h"

#include <algorithm>
#include <cmath>

#include "core/controls/drawing_control.h"

namespace skyfare {

SceneMapping::SceneMapping(QSize target) : target_(target) {
  if (target.isEmpty()) {
    scale_ = 0.0;
    return;
  }
  scale_ = std::min(static_cast<double>(target.width()) / kSceneWidth,
                    static_cast<double>(target.height()) / kSceneHeight);
  const QSize size(std::min(target.width(), scaledLength(kSceneWidth)),
                   std::min(target.height(), scaledLength(kSceneHeight)));
  content_ = QRect(
      QPoint((target.width() - size.width()) / 2, (target.height() - size.height()) / 2), size);
}

QPoint SceneMapping::toTarget(int sceneX, int sceneY) const {
  return content_.topLeft() + QPoint(scaledLength(sceneX), scaledLength(sceneY));
}

int SceneMapping::scaledLength(int sceneLength) const {
  return static_cast<int>(std::lround(sceneLength * scale_));
}

QRect SceneMapping::toTarget(const QRect& sceneRect) const {
  if (sceneRect.isEmpty())
    return {};
  const int left = static_cast<int>(std::floor(sceneRect.left() * scale_)) - 1;
  const int top = static_cast<int>(std::floor(sceneRect.top() * scale_)) - 1;
  const int right = static_cast<int>(std::ceil((sceneRect.right() + 1) * scale_)) + 1;
  const int bottom = static_cast<int>(std::ceil((sceneRect.bottom() + 1) * scale_)) + 1;
  return QRect(QPoint(left, top) + content_.topLeft(), QSize(right - left, bottom - top))
      .intersected(content_);
}

QRegion SceneMapping::toTarget(const QRegion& sceneRegion) const {
  QRegion result;
  for (const QRect& rect : sceneRegion) result += toTarget(rect);
  return result;
}

}  // namespace skyfare
