#include "windows/drawing/monitor_window.h"

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
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as the composer writes it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  made->surface_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!made->dc_ || !made->surface_ || bits == nullptr)
    return nullptr;
  made->previousBitmap_ = SelectObject(made->dc_.get(), made->surface_.get());
  // A new section is all zero: black, as an empty scene and its bars are.
  made->target_ = {static_cast<std::uint32_t*>(bits), width, height, width};
  made->text_ = &text;
  MonitorWindow* self = made.get();
  made->composer_ = std::make_unique<SceneComposer>(
      made->target_,
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
  if (damage.empty())
    return;
  text_->setTarget(dc_.get());
  GdiFlush();
  for (const PixelRect& rect : damage) composer_->compose(frame, rect);
  text_->setTarget(nullptr);
  for (const PixelRect& rect : damage) {
    BitBlt(windowDc_, rect.x, rect.y, rect.width, rect.height, dc_.get(), rect.x, rect.y, SRCCOPY);
    ++statistics.rectanglesPresented;
    statistics.pixelsPresented += static_cast<std::int64_t>(rect.width) * rect.height;
  }
}

void MonitorWindow::repaint(PresentationStatistics& statistics) {
  PAINTSTRUCT paint{};
  const HDC windowDc = BeginPaint(window_.get(), &paint);
  if (windowDc != nullptr) {
    const RECT& r = paint.rcPaint;
    BitBlt(windowDc, r.left, r.top, r.right - r.left, r.bottom - r.top, dc_.get(), r.left, r.top,
           SRCCOPY);
    ++statistics.repaints;
  }
  EndPaint(window_.get(), &paint);
}

std::uint32_t MonitorWindow::surfacePixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= target_.width || y >= target_.height)
    return 0;
  GdiFlush();
  return target_.pixels[static_cast<std::size_t>(y) * target_.stridePixels + x] & 0x00FFFFFF;
}

}  // namespace skyfare
