#pragma once

#include <cstdint>
#include <functional>

#include "raster/frame_schedule.h"

namespace skyfare {

// Tells a message loop when to raise the next frame: 60 a second from a monotonic clock, at
// most one frame per wake-up and no burst to catch up after a stall, and how long to wait in
// whole milliseconds, rounded up so that a wait never ends before its deadline.
class FrameTicker {
 public:
  using Clock = std::function<std::int64_t()>;  // nanoseconds, monotonic

  explicit FrameTicker(Clock clock) : clock_(std::move(clock)) {}

  struct Tick {
    bool frameDue = false;
    std::uint32_t waitMs = 0;  // until the next deadline
  };

  // The first frame is due at once.
  void start();
  Tick tick();
  // How long until the next frame is due, as tick would tell it, without taking that frame;
  // 0 when it is due already.
  std::uint32_t waitMs() const;

 private:
  Clock clock_;
  FrameSchedule schedule_;
  std::int64_t nextDeadlineNs_ = 0;
};

// The performance counter in nanoseconds.
std::int64_t performanceCounterNs();

}  // namespace skyfare
