#include "windows/platform/display_settings_window.h"

#include <windows.h>

namespace skyfare {

bool displaySettingsWindowOpen() {
  return FindWindowW(nullptr, L"Display Properties") != nullptr;
}

}  // namespace skyfare
