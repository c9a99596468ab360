#pragma once

#include <cstdint>

namespace skyfare {

// When frames are due: deadlines 1000/60 ms apart, counted from an anchor on a monotonic
// clock so that rounding in the timer never adds up. A wake-up gives at most one frame; one
// that comes more than a frame late starts a new anchor instead of catching up.
class FrameSchedule {
 public:
  static constexpr std::int64_t kFramesPerSecond = 60;
  static constexpr std::int64_t kNsPerSecond = 1'000'000'000;
  // A timer that fires this little before the deadline still gives the frame.
  static constexpr std::int64_t kEarlyToleranceNs = 1'000'000;

  struct Wake {
    bool frameDue = false;
    std::int64_t waitNs = 0;  // until the next deadline
  };

  // The first frame is due at once.
  void start(std::int64_t nowNs);
  Wake wake(std::int64_t nowNs);

 private:
  std::int64_t deadlineNs() const;

  std::int64_t anchorNs_ = 0;
  std::int64_t framesSinceAnchor_ = 0;
};

}  // namespace skyfare
