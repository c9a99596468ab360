#include "raster/frame_schedule.h"

namespace skyfare {

void FrameSchedule::start(std::int64_t nowNs) {
  anchorNs_ = nowNs;
  framesSinceAnchor_ = 0;
}

FrameSchedule::Wake FrameSchedule::wake(std::int64_t nowNs) {
  if (nowNs + kEarlyToleranceNs < deadlineNs())
    return {false, deadlineNs() - nowNs};
  if (nowNs - deadlineNs() >= kNsPerSecond / kFramesPerSecond)
    start(nowNs);
  ++framesSinceAnchor_;
  return {true, deadlineNs() - nowNs};
}

std::int64_t FrameSchedule::deadlineNs() const {
  return anchorNs_ + framesSinceAnchor_ * kNsPerSecond / kFramesPerSecond;
}

}  // namespace skyfare
