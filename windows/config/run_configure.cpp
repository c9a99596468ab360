#include "windows/config/run_configure.h"

#include <commctrl.h>

#include "windows/config/control_ids.h"
#include "windows/config/setup.h"
#include "windows/platform/debug_line.h"

namespace skyfare {

namespace {

// The version 6 common controls, themed, for the dialog's windows only: made active while the
// dialog lives and released after.
class CommonControlsContext {
 public:
  explicit CommonControlsContext(HINSTANCE instance) {
    ACTCTXW description{};
    description.cbSize = sizeof description;
    description.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    description.hModule = instance;
    description.lpResourceName = MAKEINTRESOURCEW(IDR_SetupManifest);
    context_ = CreateActCtxW(&description);
    if (context_ == INVALID_HANDLE_VALUE) {
      debugLine("the themed common controls are not available; the dialog looks plain");
      return;
    }
    if (!ActivateActCtx(context_, &cookie_))
      cookie_ = 0;
  }
  ~CommonControlsContext() {
    if (cookie_ != 0)
      DeactivateActCtx(0, cookie_);
    if (context_ != INVALID_HANDLE_VALUE)
      ReleaseActCtx(context_);
  }
  CommonControlsContext(const CommonControlsContext&) = delete;
  CommonControlsContext& operator=(const CommonControlsContext&) = delete;

 private:
  HANDLE context_ = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie_ = 0;
};

// The dialog's thread follows each monitor's scale, and goes back to what it was after.
class PerMonitorDpi {
 public:
  PerMonitorDpi()
      : previous_(SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {}
  ~PerMonitorDpi() {
    if (previous_ != nullptr)
      SetThreadDpiAwarenessContext(previous_);
  }
  PerMonitorDpi(const PerMonitorDpi&) = delete;
  PerMonitorDpi& operator=(const PerMonitorDpi&) = delete;

 private:
  DPI_AWARENESS_CONTEXT previous_;
};

bool isPageTurn(const MSG& message) {
  return message.message == WM_KEYDOWN && message.wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0;
}

}  // namespace

int runConfigure(HINSTANCE instance, SettingsStore& store, const std::string& dataFolder) {
  const PerMonitorDpi dpi;
  const CommonControlsContext controls(instance);
  INITCOMMONCONTROLSEX classes{
      sizeof classes, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);

  Setup setup(instance, store, dataFolder);
  MSG message{};
  while (!setup.ended() && GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (isPageTurn(message) && IsChild(setup.window(), message.hwnd)) {
      setup.turnPage(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
      continue;
    }
    if (IsDialogMessageW(setup.window(), &message))
      continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace skyfare
