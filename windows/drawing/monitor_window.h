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

// One monitor's borderless topmost window, its frames composed at the monitor's own scale with
// black bars. A Flip composes and copies to the window only the rectangles that changed, strip
// by strip through a DIB section of kStripBytes: the window keeps the frame (the system holds
// its pixels), so the program keeps no copy of it. WM_PAINT composes the shown frame again.
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
  static constexpr int kStripBytes = 1 << 20;

  // Composes the frame inside what changed (scene pixels) and copies that to the window.
  void present(const raster::FrameOps& frame, const PixelRects& sceneDamage,
               PresentationStatistics& statistics);
  // Paints what the window asks for from the frame it shows.
  void repaint(const raster::FrameOps& shown, PresentationStatistics& statistics);

 private:
  MonitorWindow() = default;
  // Composes the rectangle of window pixels, cut to the scene, and copies it to the DC.
  void show(const raster::FrameOps& frame, const PixelRect& rect, HDC to);

  UniqueWindow window_;
  HDC windowDc_ = nullptr;  // the window's own, never released
  UniqueMemoryDc dc_;
  UniqueBitmap strip_;
  HGDIOBJ previousBitmap_ = nullptr;
  PixelTarget stripPixels_;  // the whole strip, at the window's top left
  GdiText* text_ = nullptr;
  std::unique_ptr<SceneComposer> composer_;
};

}  // namespace skyfare
