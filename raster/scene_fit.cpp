#include "raster/scene_fit.h"

#include <algorithm>
#include <cmath>

#include "core/controls/drawing_control.h"

namespace skyfare {

SceneFit::SceneFit(int targetWidth, int targetHeight)
    : targetWidth_(std::max(targetWidth, 0)), targetHeight_(std::max(targetHeight, 0)) {
  if (targetWidth_ == 0 || targetHeight_ == 0)
    return;
  scale_ = std::min(static_cast<double>(targetWidth_) / kSceneWidth,
                    static_cast<double>(targetHeight_) / kSceneHeight);
  const int width = std::min(targetWidth_, scaledLength(kSceneWidth));
  const int height = std::min(targetHeight_, scaledLength(kSceneHeight));
  content_ = {(targetWidth_ - width) / 2, (targetHeight_ - height) / 2, width, height};
}

int SceneFit::scaledLength(int sceneLength) const {
  return static_cast<int>(std::lround(sceneLength * scale_));
}

PixelRect SceneFit::toTarget(const PixelRect& sceneRect) const {
  if (sceneRect.isEmpty())
    return {};
  const int left = static_cast<int>(std::floor(sceneRect.x * scale_)) - 1;
  const int top = static_cast<int>(std::floor(sceneRect.y * scale_)) - 1;
  const int right = static_cast<int>(std::ceil(sceneRect.right() * scale_)) + 1;
  const int bottom = static_cast<int>(std::ceil(sceneRect.bottom() * scale_)) + 1;
  return PixelRect{content_.x + left, content_.y + top, right - left, bottom - top}.intersected(
      content_);
}

PixelRects SceneFit::bars() const {
  PixelRects bars;
  const PixelRect c = content_;
  for (const PixelRect& bar : {PixelRect{0, 0, targetWidth_, c.y},
                               PixelRect{0, c.bottom(), targetWidth_, targetHeight_ - c.bottom()},
                               PixelRect{0, c.y, c.x, c.height},
                               PixelRect{c.right(), c.y, targetWidth_ - c.right(), c.height}}) {
    if (!bar.isEmpty())
      bars.push_back(bar);
  }
  return bars;
}

}  // namespace skyfare
