#include "windows/drawing/monitor_window.h"

#include <algorithm>

namespace skyfare {

std::unique_ptr<MonitorWindow> MonitorWindow::open(const wchar_t* windowClass, const RECT& monitor,
                                                   void* windowData, SpriteTable& sprites,
                                                   GdiText& text) {
  const int width = monitor.right - monitor.left;
  const int height = monitor.bottom - monitor.top;
  if (width <= 0 || height <= 0)
    return nullptr;
  std::unique_ptr<MonitorWindow> made(new MonitorWindow());
  made->dc_.reset(CreateCompatibleDC(nullptr));
  const int stripRows = std::clamp(kStripBytes / 4 / width, 1, height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -stripRows;  // top-down, as the composer writes it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  made->strip_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!made->dc_ || !made->strip_ || bits == nullptr)
    return nullptr;
  made->previousBitmap_ = SelectObject(made->dc_.get(), made->strip_.get());
  made->stripPixels_ = {static_cast<std::uint32_t*>(bits), width, stripRows, width};
  made->text_ = &text;
  MonitorWindow* self = made.get();
  made->composer_ = std::make_unique<SceneComposer>(
      width, height,
      [self, &sprites](const raster::SpriteOp& op) { return sprites.scaled(op, self->scale()); },
      text);
  made->window_.reset(CreateWindowExW(WS_EX_TOPMOST, windowClass, L"Skyfare", WS_POPUP | WS_VISIBLE,
                                      monitor.left, monitor.top, width, height, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), windowData));
  if (!made->window_)
    return nullptr;
  // The class gives each window a DC of its own, which lives as long as the window: a frame
  // then makes no DC and selects nothing into one.
  made->windowDc_ = GetDC(made->window_.get());
  if (made->windowDc_ == nullptr)
    return nullptr;
  return made;
}

MonitorWindow::~MonitorWindow() {
  window_.reset();
  if (dc_ && previousBitmap_ != nullptr)
    SelectObject(dc_.get(), previousBitmap_);
}

void MonitorWindow::present(const raster::FrameOps& frame, const PixelRects& sceneDamage,
                            PresentationStatistics& statistics) {
  const SceneFit& fit = composer_->fit();
  PixelRects damage;
  for (const PixelRect& rect : sceneDamage) addJoined(damage, fit.toTarget(rect));
  for (const PixelRect& rect : damage) {
    show(frame, rect, windowDc_);
    ++statistics.rectanglesPresented;
    statistics.pixelsPresented += static_cast<std::int64_t>(rect.width) * rect.height;
  }
}

void MonitorWindow::repaint(const raster::FrameOps& shown, PresentationStatistics& statistics) {
  PAINTSTRUCT paint{};
  const HDC windowDc = BeginPaint(window_.get(), &paint);
  if (windowDc != nullptr) {
    const RECT& r = paint.rcPaint;
    const PixelRect asked{r.left, r.top, r.right - r.left, r.bottom - r.top};
    for (const PixelRect& bar : composer_->fit().bars()) {
      const PixelRect black = bar.intersected(asked);
      if (!black.isEmpty())
        PatBlt(windowDc, black.x, black.y, black.width, black.height, BLACKNESS);
    }
    show(shown, asked, windowDc);
    ++statistics.repaints;
  }
  EndPaint(window_.get(), &paint);
}

void MonitorWindow::show(const raster::FrameOps& frame, const PixelRect& area, HDC to) {
  const PixelRect rect = area.intersected(composer_->fit().content());
  if (rect.isEmpty())
    return;
  text_->setTarget(dc_.get());
  for (int top = rect.y; top < rect.bottom(); top += stripPixels_.height) {
    const int rows = std::min(stripPixels_.height, rect.bottom() - top);
    PixelTarget into = stripPixels_;
    into.width = rect.width;
    into.x = rect.x;
    into.y = top;
    // The strip's DC speaks in window pixels, for the text and the copy alike.
    SetViewportOrgEx(dc_.get(), -rect.x, -top, nullptr);
    GdiFlush();
    composer_->compose(frame, {rect.x, top, rect.width, rows}, into);
    BitBlt(to, rect.x, top, rect.width, rows, dc_.get(), rect.x, top, SRCCOPY);
  }
  text_->setTarget(nullptr);
}

}  // namespace skyfare
