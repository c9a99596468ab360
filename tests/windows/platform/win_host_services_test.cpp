#include "windows/platform/win_host_services.h"

#include <gtest/gtest.h>
#include "windows/platform/win32_api.h"

#include <atomic>
#include <string>
#include <thread>

#include "tests/windows/platform/child_process.h"
#include "tests/windows/platform/debug_line_capture.h"
#include "tests/windows/platform/desktop.h"

namespace skyfare {
namespace {

// The system's cursor display count: hidden below zero.
int cursorCount() {
  ShowCursor(TRUE);
  return ShowCursor(FALSE);
}

// The static text of a system message box.
constexpr int kMessageBoxTextId = 0xFFFF;

bool saverRunningFlag() {
  BOOL running = FALSE;
  SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
  return running != FALSE;
}

TEST(WinHostServices, HidesTheCursorOnceAndShowsItBackOnce) {
  const int before = cursorCount();
  {
    WinHostServices host;
    host.showCursor(false);
    host.showCursor(false);
    EXPECT_EQ(cursorCount(), before - 1);
    host.showCursor(true);
    host.showCursor(true);
    EXPECT_EQ(cursorCount(), before) << "shown back exactly once";
    host.showCursor(false);
  }
  EXPECT_EQ(cursorCount(), before) << "what it hid is shown when it goes";
}

TEST(WinHostServices, SetsTheSaverFlagAndClearsWhatItSet) {
  ASSERT_FALSE(saverRunningFlag());
  {
    WinHostServices host;
    host.setScreenSaverRunning(true);
    EXPECT_TRUE(saverRunningFlag());
    host.setScreenSaverRunning(false);
    EXPECT_FALSE(saverRunningFlag());
    host.setScreenSaverRunning(true);
  }
  EXPECT_FALSE(saverRunningFlag()) << "cleared when the host goes";
}

TEST(WinHostServices, EndingTheProcessRestoresTheFlagAndReturnsTheExitCodeAtOnce) {
  const DWORD started = GetTickCount();
  EXPECT_EQ(testing::runSelf(L"--end-through-host 7"), 7u);
  EXPECT_LT(GetTickCount() - started, 10000u);
  EXPECT_FALSE(saverRunningFlag());
}

// Run with LC_ALL=en_US.UTF-8: the user's format is a twelve-hour clock with seconds.
TEST(WinHostServices, WritesTheTimeOfDayInTheUsersFormat) {
  WinHostServices host;
  EXPECT_EQ(host.timeOfDayText(13 * 3600 + 5 * 60 + 9), "1:05:09 PM");
  EXPECT_EQ(host.timeOfDayText(0), "12:00:00 AM");
  EXPECT_EQ(host.timeOfDayText(24 * 3600 - 1), "11:59:59 PM");
  EXPECT_EQ(host.timeOfDayText(24 * 3600), "12:00:00 AM") << "midnight of the next day";
}

TEST(WinHostServices, ClocksAgreeWithTheSystem) {
  WinHostServices host;
  const DWORD tick = GetTickCount();
  EXPECT_LE(host.tickCount() - tick, 1000u);
  SYSTEMTIME now{};
  GetLocalTime(&now);
  const double seconds = now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond;
  const double asked = host.secondsSinceMidnight();
  EXPECT_TRUE(asked - seconds < 2.0 && (asked - seconds > -1.0 || seconds > 86398)) << asked;
}

TEST(WinHostServices, AMessageBoxShowsAndTellsItsTextAndLeavesTheCursorAsItWas) {
  SKYFARE_REQUIRE_DESKTOP();
  const int before = cursorCount();
  WinHostServices host;
  host.showCursor(false);
  std::wstring shownText;
  std::thread answer([&] {
    for (int attempt = 0; attempt < 200; ++attempt) {
      HWND box = FindWindowW(L"#32770", L"Skyfare test box");
      if (box && IsWindowVisible(box)) {
        wchar_t text[100] = {};
        GetDlgItemTextW(box, kMessageBoxTextId, text, 100);
        shownText = text;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(50);
    }
  });
  testing::DebugLineCapture lines;
  host.messageBox("The display cannot be opened.", "Skyfare test box");
  answer.join();
  EXPECT_EQ(shownText, L"The display cannot be opened.");
  ASSERT_FALSE(lines.lines().empty());
  EXPECT_EQ(lines.lines()[0], "skyfare: Skyfare test box: The display cannot be opened.\n");
  EXPECT_EQ(cursorCount(), before - 1) << "hidden again after the box";
}

}  // namespace
}  // namespace skyfare
