#include "drawing/scene_mapping.h"

namespace skyfare {

namespace {

QRect toQRect(const PixelRect& rect) {
  return rect.isEmpty() ? QRect() : QRect(rect.x, rect.y, rect.width, rect.height);
}

}  // namespace

SceneMapping::SceneMapping(QSize target)
    : target_(target), fit_(target.width(), target.height()), content_(toQRect(fit_.content())) {}

QPoint SceneMapping::toTarget(int sceneX, int sceneY) const {
  return {fit_.toTargetX(sceneX), fit_.toTargetY(sceneY)};
}

QRect SceneMapping::toTarget(const QRect& sceneRect) const {
  if (sceneRect.isEmpty())
    return {};
  return toQRect(fit_.toTarget(
      PixelRect{sceneRect.x(), sceneRect.y(), sceneRect.width(), sceneRect.height()}));
}

QRegion SceneMapping::toTarget(const QRegion& sceneRegion) const {
  QRegion result;
  for (const QRect& rect : sceneRegion) result += toTarget(rect);
  return result;
}

}  // namespace skyfare
