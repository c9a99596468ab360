#include <gtest/gtest.h>
#include "windows/platform/win32_api.h"

#include "tests/windows/platform/desktop.h"
#include "windows/platform/display_settings_window.h"

namespace skyfare {
namespace {

HWND topLevelWindow(const wchar_t* title) {
  return CreateWindowExW(0, L"STATIC", title, WS_OVERLAPPED, 0, 0, 200, 100, nullptr, nullptr,
                         nullptr, nullptr);
}

TEST(DisplaySettingsWindow, IsFoundByItsExactTitleWhileItIsOpen) {
  SKYFARE_REQUIRE_DESKTOP();
  EXPECT_FALSE(displaySettingsWindowOpen());
  HWND similar = topLevelWindow(L"Display Properties - Screen Saver");
  EXPECT_FALSE(displaySettingsWindowOpen()) << "only the exact title counts";
  HWND settings = topLevelWindow(L"Display Properties");
  ASSERT_TRUE(settings);
  EXPECT_TRUE(displaySettingsWindowOpen());
  DestroyWindow(settings);
  DestroyWindow(similar);
  EXPECT_FALSE(displaySettingsWindowOpen());
}

}  // namespace
}  // namespace skyfare
