#pragma once

#include <cstdint>
#include <functional>

#include "raster/frame_ops.h"
#include "raster/run_picture.h"
#include "raster/scene_fit.h"

namespace skyfare {

// 32-bit pixels of a top-down surface, as BgraPicture lays them out: the whole target, or a strip
// of it whose first pixel is target pixel (x, y).
struct PixelTarget {
  std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stridePixels = 0;
  int x = 0;
  int y = 0;

  PixelRect area() const { return {x, y, width, height}; }
  // Target pixel (targetX, targetY), which must lie in the area.
  std::uint32_t* at(int targetX, int targetY) const {
    return pixels + static_cast<std::ptrdiff_t>(targetY - y) * stridePixels + (targetX - x);
  }
};

// Draws a frame's text ops, which need the platform's fonts, clipped to a rectangle of the
// target.
class TextPainter {
 public:
  virtual ~TextPainter() = default;
  virtual void paintText(const raster::TextOp& op, const SceneFit& fit, const PixelRect& clip) = 0;
};

// A sprite's picture at the target's scale: exactly its scaled size, or null when it has none.
using ScaledLookup = std::function<const RunPicture*(const raster::SpriteOp&)>;

// Composes frames for a target of one size at that target's own scale, the scene in the middle
// with black bars. Composing a rectangle gives each of its pixels exactly the value a full
// composition would, whatever they held before, so a target is kept up to date by composing
// only what changed, and a rectangle may be composed into a strip that holds only it. Pixels of
// the scene that no op covers are black; the bars are not composed.
class SceneComposer {
 public:
  SceneComposer(int targetWidth, int targetHeight, ScaledLookup scaled, TextPainter& text);

  const SceneFit& fit() const { return fit_; }
  // Composes the list inside the rectangle of target pixels, cut to the scene and to `into`.
  void compose(const raster::FrameOps& list, const PixelRect& rect, const PixelTarget& into);

 private:
  PixelRect footprint(const raster::FrameOp& op) const;
  bool covers(const raster::FrameOp& op, const PixelRect& rect) const;

  SceneFit fit_;
  ScaledLookup scaled_;
  TextPainter& text_;
};

// A scene colour (red in the low byte) as an opaque target pixel.
inline constexpr std::uint32_t targetPixel(SceneColour colour) {
  return 0xFF000000u | ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

}  // namespace skyfare
