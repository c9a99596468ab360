#pragma once

#include <string>

#include "core/saver/host_services.h"

namespace skyfare {

// Host services of a real display session on Windows: the system tick count and local time,
// the user's regional time format, the cursor, the screen-saver-running flag, message boxes and
// the end of the process. Whatever it hid or set, it undoes: the cursor is shown again and the
// flag cleared when it is destroyed or ends the process.
class WinHostServices final : public HostServices {
 public:
  WinHostServices() = default;
  ~WinHostServices() override;
  WinHostServices(const WinHostServices&) = delete;
  WinHostServices& operator=(const WinHostServices&) = delete;

  std::uint32_t tickCount() override;
  double secondsSinceMidnight() override;
  // The clock asks every frame, so the last text is kept.
  std::string timeOfDayText(int secondsSinceMidnight) override;
  // The system keeps a count of hides and shows; this hides once and shows back once.
  void showCursor(bool visible) override;
  void setScreenSaverRunning(bool running) override;
  // On top of the saver's topmost window, with the cursor shown while it is open.
  void messageBox(const std::string& text, const std::string& title) override;
  // Ends the process at once, after the cursor and the flag are restored.
  [[noreturn]] void endProcess(int exitCode) override;

 private:
  void restore();

  bool cursorHidden_ = false;
  bool saverRunningSet_ = false;
  int lastSeconds_ = -1;
  std::string lastText_;
};

}  // namespace skyfare
