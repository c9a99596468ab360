#pragma once

#include "raster/pixel_rect.h"

namespace skyfare {

// How the 800 × 600 scene sits on a target of some size: scaled with its aspect kept, centred,
// the rest left to black bars. Lengths round to the nearest target pixel.
class SceneFit {
 public:
  SceneFit(int targetWidth, int targetHeight);

  double scale() const { return scale_; }
  // The target pixels the scene covers.
  PixelRect content() const { return content_; }
  int scaledLength(int sceneLength) const;
  int toTargetX(int sceneX) const { return content_.x + scaledLength(sceneX); }
  int toTargetY(int sceneY) const { return content_.y + scaledLength(sceneY); }
  // Every target pixel that anything drawn inside the scene rectangle can touch, cut to the
  // content: rounded outward with one pixel to spare for the rounding of sprite places.
  PixelRect toTarget(const PixelRect& sceneRect) const;
  // The target outside the content, which stays black.
  PixelRects bars() const;

 private:
  int targetWidth_ = 0;
  int targetHeight_ = 0;
  double scale_ = 0.0;
  PixelRect content_;
};

}  // namespace skyfare
