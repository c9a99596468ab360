#pragma once

#include "windows/platform/win32_api.h"

#include <list>
#include <string>

#include "raster/frame_ops.h"
#include "raster/scene_composer.h"
#include "windows/drawing/win_handles.h"

namespace skyfare {

// Text with GDI in the font SetFont named, antialiased, on no background, its top-left corner
// at the op's place. Measures where a text puts ink at the scene's size, and paints it at a
// monitor's scale into that monitor's surface. Fonts and measurements are kept for the last
// few texts: a frame draws the same message and clock again and again.
class GdiText final : public TextPainter {
 public:
  GdiText();

  // Where the text puts ink relative to its top-left corner, in scene pixels, padded for
  // antialiasing and for hinting at another scale.
  PixelRect inkExtent(const raster::FontChoice& font, const std::string& text);
  // The surface later paintText calls draw into.
  void setTarget(HDC dc) { target_ = dc; }
  void paintText(const raster::TextOp& op, const SceneFit& fit, const PixelRect& clip) override;

  static constexpr std::size_t kKept = 8;

 private:
  HFONT font(const raster::FontChoice& choice, int pixelHeight);

  struct KeptFont {
    raster::FontChoice choice;
    int pixelHeight = 0;
    UniqueFont font;
  };
  struct KeptExtent {
    raster::FontChoice choice;
    std::string text;
    PixelRect extent;
  };

  UniqueMemoryDc measuring_;
  HDC target_ = nullptr;
  std::list<KeptFont> fonts_;  // most recently used first
  std::list<KeptExtent> extents_;
};

}  // namespace skyfare
