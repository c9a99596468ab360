#pragma once

#include <cstdint>
#include <string>

namespace skyfare {

// What the display session needs from its host beside the two components: clocks, the cursor,
// the screen-saver-running flag, message boxes and the end of the process. The session never
// reads a clock or ends the process on its own, so tests drive it by hand.
class HostServices {
 public:
  virtual ~HostServices() = default;

  // Milliseconds from a monotonic clock, wrapping after 2^32.
  virtual std::uint32_t tickCount() = 0;
  // The time of day in seconds since local midnight, with its fraction.
  virtual double secondsSinceMidnight() = 0;
  // A time of day as the user's regional format writes it: hours, minutes, seconds, no date.
  virtual std::string timeOfDayText(int secondsSinceMidnight) = 0;

  virtual void showCursor(bool visible) = 0;
  virtual void setScreenSaverRunning(bool running) = 0;
  // A modal message box with an OK button.
  virtual void messageBox(const std::string& text, const std::string& title) = 0;
  // Ends the process once the current event has returned; nothing of the session runs after.
  virtual void endProcess(int exitCode) = 0;
};

// Uniform numbers in [0, 1) for the aircraft heights.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual double next() = 0;
};

}  // namespace skyfare
