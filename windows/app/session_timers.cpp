#include "windows/app/session_timers.h"

#include "core/saver/form1.h"

namespace skyfare {
namespace {

constexpr wchar_t kTimerWindowClass[] = L"SkyfareSessionTimers";
constexpr UINT kTimerIntervalMs = 1000;
enum TimerId : UINT_PTR { kPlaneTimer = 1, kPauseTimer, kSoundTimer };

}  // namespace

SessionTimers::SessionTimers(HINSTANCE instance, Form1& form) : instance_(instance), form_(form) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &SessionTimers::windowProc;
  windowClass.hInstance = instance_;
  windowClass.lpszClassName = kTimerWindowClass;
  RegisterClassExW(&windowClass);
  window_ = CreateWindowExW(0, kTimerWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            instance_, this);
  for (const UINT_PTR timer : {kPlaneTimer, kPauseTimer, kSoundTimer})
    SetTimer(window_, timer, kTimerIntervalMs, nullptr);
}

SessionTimers::~SessionTimers() {
  if (window_ != nullptr)
    DestroyWindow(window_);
  UnregisterClassW(kTimerWindowClass, instance_);
}

LRESULT CALLBACK SessionTimers::windowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* timers = reinterpret_cast<SessionTimers*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_TIMER && timers != nullptr) {
    switch (wParam) {
      case kPlaneTimer:
        timers->form_.tmrPlaneTick();
        break;
      case kPauseTimer:
        timers->form_.tmrPauseTick();
        break;
      case kSoundTimer:
        timers->form_.tmrSoundTick();
        break;
      default:
        break;
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace skyfare
