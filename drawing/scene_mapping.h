#pragma once

#include <QRect>
#include <QRegion>
#include <QSize>

#include "raster/scene_fit.h"

namespace skyfare {

// How the scene sits on a target of some size, in Qt's terms: the shared fit (scaled with its
// aspect kept, centred, the rest left to black bars), so every front end places it alike.
class SceneMapping {
 public:
  explicit SceneMapping(QSize target);

  double scale() const { return fit_.scale(); }
  QSize targetSize() const { return target_; }
  // The target pixels the scene covers.
  QRect content() const { return content_; }
  QPoint toTarget(int sceneX, int sceneY) const;
  int scaledLength(int sceneLength) const { return fit_.scaledLength(sceneLength); }
  // Every target pixel that anything drawn inside the scene rectangle can touch, cut to the
  // content: rounded outward with one pixel to spare for the rounding of sprite places.
  QRect toTarget(const QRect& sceneRect) const;
  QRegion toTarget(const QRegion& sceneRegion) const;

 private:
  QSize target_;
  SceneFit fit_;
  QRect content_;
};

}  // namespace skyfare
