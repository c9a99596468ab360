#pragma once

#include "windows/platform/win32_api.h"

#include <memory>

#include "raster/frame_ops.h"
#include "raster/scene_composer.h"
#include "windows/drawing/gdi_text.h"
#include "windows/drawing/presentation_statistics.h"
#include "windows/drawing/sprite_table.h"
#include "windows/drawing/win_handles.h"

namespace skyfare {

// One monitor's borderless topmost window and the DIB section its frames are composed in, at
// the monitor's own scale with black bars. A Flip composes and copies to the window only the
// rectangles that changed; WM_PAINT copies from the surface without composing.
class MonitorWindow {
 public:
  // Null when the window or its surface cannot be made.
  static std::unique_ptr<MonitorWindow> open(const wchar_t* windowClass, const RECT& monitor,
                                             void* windowData, SpriteTable& sprites, GdiText& text);
  ~MonitorWindow();
  MonitorWindow(const MonitorWindow&) = delete;
  MonitorWindow& operator=(const MonitorWindow&) = delete;

  HWND window() const { return window_.get(); }
  double scale() const { return composer_->fit().scale(); }
  // Composes the frame inside what changed (scene pixels) and copies that to the window.
  void present(const raster::FrameOps& frame, const PixelRects& sceneDamage,
               PresentationStatistics& statistics);
  void repaint(PresentationStatistics& statistics);
  // The colour of a composed pixel, 0xRRGGBB, for tests.
  std::uint32_t surfacePixel(int x, int y) const;

 private:
  MonitorWindow() = default;

  UniqueWindow window_;
  HDC windowDc_ = nullptr;  // the window's own, never released
  UniqueMemoryDc dc_;
  UniqueBitmap surface_;
  HGDIOBJ previousBitmap_ = nullptr;
  PixelTarget target_;
  GdiText* text_ = nullptr;
  std::unique_ptr<SceneComposer> composer_;
};

}  // namespace skyfare
