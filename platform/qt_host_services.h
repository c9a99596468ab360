#pragma once

#include <QString>

#include "core/saver/host_services.h"

namespace skyfare {

// The time of day in the system locale's long time format without its time zone: hours,
// minutes and seconds. The clock asks every frame, so the format is worked out once and the
// last text is kept.
class LocalTimeFormat {
 public:
  LocalTimeFormat();
  std::string text(int secondsSinceMidnight);

 private:
  QString format_;
  int lastSeconds_ = -1;
  std::string lastText_;
};

// Who the pointer belongs to while a session runs.
enum class PointerOwner {
  Session,  // the saver hides it while it runs
  Host,     // a screen-saver host owns it; the session leaves it alone
};

// Host services of a real display session: the monotonic and wall clocks, the user's time
// format, a blank cursor while the saver runs, message boxes, and the end of the event loop.
// Without a display, message boxes go to standard error.
class QtHostServices final : public HostServices {
 public:
  explicit QtHostServices(PointerOwner pointerOwner = PointerOwner::Session)
      : pointerOwner_(pointerOwner) {}
  ~QtHostServices() override;
  QtHostServices(const QtHostServices&) = delete;
  QtHostServices& operator=(const QtHostServices&) = delete;

  std::uint32_t tickCount() override;
  double secondsSinceMidnight() override;
  std::string timeOfDayText(int secondsSinceMidnight) override;
  void showCursor(bool visible) override;
  void setScreenSaverRunning(bool running) override { saverRunning_ = running; }
  void messageBox(const std::string& text, const std::string& title) override;
  void endProcess(int exitCode) override;

 private:
  LocalTimeFormat timeFormat_;
  PointerOwner pointerOwner_;
  bool cursorHidden_ = false;
  bool saverRunning_ = false;
};

}  // namespace skyfare
