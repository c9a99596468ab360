#pragma once

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/saver/host_services.h"

namespace skyfare::testing {

// Host services with a clock the test advances by hand, recording the cursor, the saver flag,
// message boxes and the end of the process.
class ManualHost final : public HostServices {
 public:
  std::uint32_t tick = 1000;
  double timeOfDay = 12 * 3600.0;
  int cursorHides = 0;
  int cursorShows = 0;
  bool cursorVisible = true;
  std::vector<bool> saverRunning;
  std::vector<std::string> messages;
  std::vector<int> exits;

  void advanceMs(std::uint32_t ms) {
    tick += ms;
    timeOfDay = std::fmod(timeOfDay + ms / 1000.0, 86400.0);
  }

  std::uint32_t tickCount() override { return tick; }
  double secondsSinceMidnight() override { return timeOfDay; }
  std::string timeOfDayText(int seconds) override {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
  }
  void showCursor(bool visible) override {
    visible ? ++cursorShows : ++cursorHides;
    cursorVisible = visible;
  }
  void setScreenSaverRunning(bool running) override { saverRunning.push_back(running); }
  void messageBox(const std::string& text, const std::string& title) override {
    messages.push_back(title + ": " + text);
  }
  void endProcess(int exitCode) override { exits.push_back(exitCode); }
};

}  // namespace skyfare::testing
