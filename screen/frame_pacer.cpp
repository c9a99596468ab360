#include "screen/frame_pacer.h"

namespace skyfare {
namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;

int waitMs(std::int64_t waitNs) {
  return static_cast<int>(waitNs <= 0 ? 0 : (waitNs + kNsPerMs - 1) / kNsPerMs);
}

}  // namespace

FramePacer::FramePacer(std::function<void()> onFrame) : onFrame_(std::move(onFrame)) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { wake(); });
}

void FramePacer::start() {
  clock_.start();
  schedule_.start(clock_.nsecsElapsed());
  timer_.start(0);
}

void FramePacer::wake() {
  const FrameSchedule::Wake next = schedule_.wake(clock_.nsecsElapsed());
  // Armed before the frame, so the frame's own work does not push the next deadline.
  timer_.start(waitMs(next.waitNs));
  if (next.frameDue)
    onFrame_();
}

}  // namespace skyfare
