#include "windows/platform/win_host_services.h"

#include "windows/platform/win32_api.h"

#include "windows/platform/debug_line.h"
#include "windows/platform/wide_text.h"

namespace skyfare {
namespace {

constexpr int kSecondsPerDay = 24 * 60 * 60;

}  // namespace

WinHostServices::~WinHostServices() {
  restore();
}

void WinHostServices::restore() {
  showCursor(true);
  if (saverRunningSet_)
    setScreenSaverRunning(false);
}

std::uint32_t WinHostServices::tickCount() {
  return GetTickCount();
}

double WinHostServices::secondsSinceMidnight() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
}

std::string WinHostServices::timeOfDayText(int secondsSinceMidnight) {
  if (secondsSinceMidnight == lastSeconds_)
    return lastText_;
  const int seconds = ((secondsSinceMidnight % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
  SYSTEMTIME time{};
  time.wHour = static_cast<WORD>(seconds / 3600);
  time.wMinute = static_cast<WORD>(seconds / 60 % 60);
  time.wSecond = static_cast<WORD>(seconds % 60);
  wchar_t text[80] = {};
  const int length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &time, nullptr, text,
                                     static_cast<int>(std::size(text)));
  lastSeconds_ = secondsSinceMidnight;
  lastText_ = length > 0
                  ? utf8FromWide(std::wstring_view(text, static_cast<std::size_t>(length - 1)))
                  : std::string();
  return lastText_;
}

void WinHostServices::showCursor(bool visible) {
  if (!visible && !cursorHidden_) {
    ShowCursor(FALSE);
    cursorHidden_ = true;
  } else if (visible && cursorHidden_) {
    ShowCursor(TRUE);
    cursorHidden_ = false;
  }
}

void WinHostServices::setScreenSaverRunning(bool running) {
  UINT previous = 0;  // asked for by the call, not used
  SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, running ? TRUE : FALSE, &previous, 0);
  saverRunningSet_ = running;
}

void WinHostServices::messageBox(const std::string& text, const std::string& title) {
  debugLine(title + ": " + text);
  const bool hidden = cursorHidden_;
  showCursor(true);
  MessageBoxW(nullptr, wideFromUtf8(text).c_str(), wideFromUtf8(title).c_str(),
              MB_OK | MB_TOPMOST | MB_SETFOREGROUND);
  if (hidden)
    showCursor(false);
}

void WinHostServices::endProcess(int exitCode) {
  restore();
  ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace skyfare
