#include "windows/drawing/win32_drawing_control.h"

#include <mmsystem.h>
#include <windowsx.h>

#include <algorithm>
#include <cwchar>

namespace skyfare {
namespace {

std::int32_t wrappingAdd(std::int32_t value, std::int32_t delta) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value) +
                                   static_cast<std::uint32_t>(delta));
}

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM rects) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info))
    reinterpret_cast<std::vector<RECT>*>(rects)->push_back(info.rcMonitor);
  return TRUE;
}

// The timer resolution of 1 ms for the life of this value, so waits end on their millisecond.
class FineTimer {
 public:
  FineTimer() : set_(timeBeginPeriod(1) == TIMERR_NOERROR) {}
  ~FineTimer() {
    if (set_)
      timeEndPeriod(1);
  }
  FineTimer(const FineTimer&) = delete;
  FineTimer& operator=(const FineTimer&) = delete;

 private:
  bool set_;
};

}  // namespace

Win32DrawingControl::ComApartment::ComApartment()
    : initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}

Win32DrawingControl::ComApartment::~ComApartment() {
  if (initialised)
    CoUninitialize();
}

Win32DrawingControl::Win32DrawingControl(FrameTicker::Clock clock)
    : factory_([] {
        ComPtr<IWICImagingFactory> factory;
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                         IID_IWICImagingFactory, factory.putVoid());
        return factory;
      }()),
      sprites_(factory_.get()),
      ticker_(std::move(clock)) {
  wchar_t name[64];
  std::swprintf(name, std::size(name), L"SkyfareScene%p", static_cast<void*>(this));
  windowClass_ = name;
}

Win32DrawingControl::~Win32DrawingControl() {
  windows_.clear();
  if (classRegistered_)
    UnregisterClassW(windowClass_.c_str(), GetModuleHandleW(nullptr));
}

bool Win32DrawingControl::InitDisplay(int, int, int, std::string_view) {
  if (displayOpen_)
    return true;
  if (!classRegistered_) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_OWNDC;  // MonitorWindow keeps its window's DC
    windowClass.lpfnWndProc = &Win32DrawingControl::windowProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = windowClass_.c_str();
    classRegistered_ = RegisterClassExW(&windowClass) != 0;
    if (!classRegistered_)
      return false;
  }
  // Window rectangles in physical pixels, whatever the monitor's scale; only the windows made
  // here keep the awareness.
  const DPI_AWARENESS_CONTEXT previous =
      SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  std::vector<RECT> monitors;
  EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&monitors));
  for (const RECT& monitor : monitors) {
    if (auto window = MonitorWindow::open(windowClass_.c_str(), monitor, this, sprites_, text_)) {
      sprites_.addScale(window->scale());
      windows_.push_back(std::move(window));
    }
  }
  if (previous != nullptr)
    SetThreadDpiAwarenessContext(previous);
  if (windows_.empty())
    return false;
  // A window appearing under a still pointer brings a move message; that is no movement.
  POINT pointer{};
  if (GetCursorPos(&pointer))
    lastPointer_ = pointer;
  SetForegroundWindow(windows_.front()->window());
  displayOpen_ = true;
  ticker_.start();
  return true;
}

SpriteHandle Win32DrawingControl::CreateSprite() {
  return sprites_.create();
}

void Win32DrawingControl::LoadSpriteImage(SpriteHandle sprite, int, const std::string& fileName,
                                          int transparentMode) {
  sprites_.load(sprite, fileName, transparentMode);
}

void Win32DrawingControl::SetSpriteX(SpriteHandle sprite, std::int32_t x) {
  if (auto* s = sprites_.find(sprite))
    s->x = x;
}

void Win32DrawingControl::SetSpriteY(SpriteHandle sprite, std::int32_t y) {
  if (auto* s = sprites_.find(sprite))
    s->y = y;
}

void Win32DrawingControl::MoveSpriteX(SpriteHandle sprite, std::int32_t delta) {
  if (auto* s = sprites_.find(sprite))
    s->x = wrappingAdd(s->x, delta);
}

void Win32DrawingControl::MoveSpriteY(SpriteHandle sprite, std::int32_t delta) {
  if (auto* s = sprites_.find(sprite))
    s->y = wrappingAdd(s->y, delta);
}

std::int32_t Win32DrawingControl::GetSpriteX(SpriteHandle sprite) {
  const auto* s = sprites_.find(sprite);
  return s != nullptr ? s->x : 0;
}

void Win32DrawingControl::FillScreen(SceneColour colour) {
  frame_.emplace_back(std::in_place_type<raster::FillOp>, raster::FillOp{colour});
}

void Win32DrawingControl::DrawSprite(SpriteHandle sprite) {
  const auto* s = sprites_.find(sprite);
  if (s == nullptr || s->picture.isNull())
    return;
  frame_.emplace_back(std::in_place_type<raster::SpriteOp>,
                      raster::SpriteOp{sprite, s->pictureVersion, s->x, s->y, s->picture.width(),
                                       s->picture.height(), s->picture.opaque(), s->coverage});
}

void Win32DrawingControl::SetFont(const std::string& fontName, int size, int charset, bool bold,
                                  bool italic, bool underline) {
  if (size < 1) {
    font_.reset();
    return;
  }
  font_ = raster::FontChoice{fontName, std::min(size, kLargestFontSizePx), charset, bold, italic,
                             underline};
}

void Win32DrawingControl::DrawText(const std::string& text, std::int32_t x, std::int32_t y,
                                   SceneColour colour) {
  if (!font_ || text.empty())
    return;
  const PixelRect ink = text_.inkExtent(*font_, text);
  const PixelRect bounds =
      sceneClipped(std::int64_t{x} + ink.x, std::int64_t{y} + ink.y, ink.width, ink.height);
  if (!bounds.isEmpty())
    frame_.emplace_back(std::in_place_type<raster::TextOp>,
                        raster::TextOp{text, *font_, x, y, colour, bounds});
}

void Win32DrawingControl::Flip() {
  raster::FrameOps next = std::move(frame_);
  frame_.clear();
  ++statistics_.framesComposed;
  const PixelRects damage = raster::frameDamage(presented_, next);
  presented_ = std::move(next);
  if (damage.empty())
    return;
  const std::int64_t before = statistics_.rectanglesPresented;
  for (const auto& window : windows_) window->present(presented_, damage, statistics_);
  if (statistics_.rectanglesPresented != before)
    ++statistics_.framesPresented;
}

int Win32DrawingControl::runMessageLoop() {
  const FineTimer fineTimer;
  // After a wait that timed out the queue is known to be empty, and asking it again would cost a
  // round trip for nothing (under Wine, a call to its server every frame). A message that comes
  // later ends the next wait at once.
  bool queueSeenEmpty = false;
  for (;;) {
    MSG message{};
    while (!queueSeenEmpty && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT)
        return static_cast<int>(message.wParam);
      TranslateMessage(&message);
      DispatchMessageW(&message);
      deliverInput();
    }
    queueSeenEmpty = false;
    DWORD waitMs = INFINITE;
    if (displayOpen_) {
      const FrameTicker::Tick tick = ticker_.tick();
      waitMs = tick.waitMs;
      if (tick.frameDue) {
        if (!waitedSinceFrame_)
          wait(0);
        waitedSinceFrame_ = false;
        if (sink_ != nullptr)
          sink_->FrameUpdate();
        // Messages that came during the frame end the wait below at once, so the queue is
        // asked once a frame; a next frame already due takes them first.
        waitMs = ticker_.waitMs();
        if (waitMs == 0 || !displayOpen_)
          continue;
      }
    }
    queueSeenEmpty = wait(waitMs);
  }
}

void Win32DrawingControl::watch(HANDLE event, std::function<void()> signalled) {
  watched_ = event;
  watchedSignalled_ = std::move(signalled);
}

bool Win32DrawingControl::wait(DWORD waitMs) {
  const DWORD handles = watched_ != nullptr ? 1 : 0;
  const DWORD woken =
      MsgWaitForMultipleObjectsEx(handles, &watched_, waitMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  waitedSinceFrame_ = true;
  if (handles == 1 && woken == WAIT_OBJECT_0 && watchedSignalled_)
    watchedSignalled_();
  return woken == WAIT_TIMEOUT;
}

LRESULT CALLBACK Win32DrawingControl::windowProcedure(HWND window, UINT message, WPARAM w,
                                                      LPARAM l) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* control = reinterpret_cast<Win32DrawingControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (control == nullptr)
    return DefWindowProcW(window, message, w, l);
  return control->handle(window, message, w, l);
}

LRESULT Win32DrawingControl::handle(HWND window, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_PAINT: {
      const auto shown = std::find_if(windows_.begin(), windows_.end(), [window](const auto& each) {
        return each->window() == window;
      });
      if (shown == windows_.end())
        break;
      (*shown)->repaint(presented_, statistics_);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // every pixel comes from the surface
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      raiseLater(&DrawingEvents::KeyDown);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      raiseLater(&DrawingEvents::MouseDown);
      return 0;
    case WM_MOUSEMOVE: {
      POINT pointer{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
      ClientToScreen(window, &pointer);
      if (lastPointer_ && lastPointer_->x == pointer.x && lastPointer_->y == pointer.y)
        return 0;
      lastPointer_ = pointer;
      raiseLater(&DrawingEvents::MouseMove);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(window, message, w, l);
}

void Win32DrawingControl::raiseLater(Event event) {
  if (displayOpen_)
    pendingInput_.push_back(event);
}

void Win32DrawingControl::deliverInput() {
  while (!pendingInput_.empty()) {
    const Event event = pendingInput_.front();
    pendingInput_.erase(pendingInput_.begin());
    if (displayOpen_ && sink_ != nullptr)
      (sink_->*event)();
  }
}

int runMessageLoop(Win32DrawingControl& control) {
  return control.runMessageLoop();
}

}  // namespace skyfare
