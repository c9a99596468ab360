#include "windows/platform/display_settings_window.h"

#include "windows/platform/win32_api.h"

namespace skyfare {

bool displaySettingsWindowOpen() {
  return FindWindowW(nullptr, L"Display Properties") != nullptr;
}

}  // namespace skyfare
