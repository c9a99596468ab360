#pragma once

#include <cstdint>
#include <functional>

#include "raster/bgra_picture.h"
#include "raster/frame_ops.h"
#include "raster/scene_fit.h"

namespace skyfare {

// 32-bit pixels of a top-down surface, as BgraPicture lays them out.
struct PixelTarget {
  std::uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stridePixels = 0;
};

// Draws a frame's text ops, which need the platform's fonts, clipped to a rectangle of the
// target.
class TextPainter {
 public:
  virtual ~TextPainter() = default;
  virtual void paintText(const raster::TextOp& op, const SceneFit& fit, const PixelRect& clip) = 0;
};

// A sprite's picture at the target's scale: exactly its scaled size, or null when it has none.
using ScaledLookup = std::function<const BgraPicture*(const raster::SpriteOp&)>;

// Composes frames onto one target at the target's own scale. Composing a rectangle gives each
// of its pixels exactly the value a full composition would, so a target is kept up to date by
// composing only what changed. Pixels that no op covers are black.
class SceneComposer {
 public:
  SceneComposer(PixelTarget target, ScaledLookup scaled, TextPainter& text);

  const SceneFit& fit() const { return fit_; }
  // Composes the list inside the rectangle of target pixels, cut to the content.
  void compose(const raster::FrameOps& list, const PixelRect& rect);
  void composeBars();

 private:
  PixelRect footprint(const raster::FrameOp& op) const;
  bool covers(const raster::FrameOp& op, const PixelRect& rect) const;
  void fill(const PixelRect& rect, std::uint32_t pixel);
  void blend(const BgraPicture& picture, int atX, int atY, const PixelRect& rect);

  PixelTarget target_;
  SceneFit fit_;
  ScaledLookup scaled_;
  TextPainter& text_;
};

// A scene colour (red in the low byte) as an opaque target pixel.
inline constexpr std::uint32_t targetPixel(SceneColour colour) {
  return 0xFF000000u | ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

}  // namespace skyfare
