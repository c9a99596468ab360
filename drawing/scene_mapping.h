#pragma once

#include <QRect>
#include <QRegion>
#include <QSize>

namespace skyfare {

// How the scene sits on a target of some size: scaled with its aspect kept, centred, the rest
// left to black bars.
class SceneMapping {
 public:
  explicit SceneMapping(QSize target);

  double scale() const { return scale_; }
  QSize targetSize() const { return target_; }
  // The target pixels the scene covers.
  QRect content() const { return content_; }
  QPoint toTarget(int sceneX, int sceneY) const;
  int scaledLength(int sceneLength) const;
  // Every target pixel that anything drawn inside the scene rectangle can touch, cut to the
  // content: rounded outward with one pixel to spare for the rounding of sprite places.
  QRect toTarget(const QRect& sceneRect) const;
  QRegion toTarget(const QRegion& sceneRegion) const;

 private:
  QSize target_;
  double scale_ = 1.0;
  QRect content_;
};

}  // namespace skyfare
