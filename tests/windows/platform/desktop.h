#pragma once

#include "windows/platform/win32_api.h"

namespace skyfare::testing {

// Whether windows can be made: under Wine only with an X server named by DISPLAY.
inline bool desktopAvailable() {
  HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 1, 1, nullptr, nullptr,
                               nullptr, nullptr);
  if (!probe)
    return false;
  DestroyWindow(probe);
  return true;
}

}  // namespace skyfare::testing

// Fails a test that needs windows when there is no desktop to make them on, rather than letting
// it pass unseen: scripts/windows --test gives the tests' Wine server an X display.
#define SKYFARE_REQUIRE_DESKTOP()              \
  if (!::skyfare::testing::desktopAvailable()) \
  GTEST_FAIL() << "no desktop for windows: run with DISPLAY naming an X server"
