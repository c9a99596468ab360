#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

#include "raster/frame_schedule.h"

namespace skyfare {

// Calls back once per frame, 60 times a second, from the event loop: a precise single-shot
// timer re-armed to each deadline of a FrameSchedule.
class FramePacer {
 public:
  explicit FramePacer(std::function<void()> onFrame);
  FramePacer(const FramePacer&) = delete;
  FramePacer& operator=(const FramePacer&) = delete;

  void start();
  bool running() const { return timer_.isActive(); }

 private:
  void wake();

  std::function<void()> onFrame_;
  QTimer timer_;
  QElapsedTimer clock_;
  FrameSchedule schedule_;
};

}  // namespace skyfare
