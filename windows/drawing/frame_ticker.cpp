#include "windows/drawing/frame_ticker.h"

#include "windows/platform/win32_api.h"

#include <algorithm>

namespace skyfare {
namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;

std::uint32_t wholeMsAtLeast(std::int64_t waitNs) {
  return static_cast<std::uint32_t>((std::max<std::int64_t>(waitNs, 0) + kNsPerMs - 1) / kNsPerMs);
}

}  // namespace

void FrameTicker::start() {
  const std::int64_t now = clock_();
  schedule_.start(now);
  nextDeadlineNs_ = now;
}

FrameTicker::Tick FrameTicker::tick() {
  const std::int64_t now = clock_();
  const FrameSchedule::Wake wake = schedule_.wake(now);
  nextDeadlineNs_ = now + wake.waitNs;
  return {wake.frameDue, wholeMsAtLeast(wake.waitNs)};
}

std::uint32_t FrameTicker::waitMs() const {
  const std::int64_t waitNs = nextDeadlineNs_ - clock_();
  return waitNs <= FrameSchedule::kEarlyToleranceNs ? 0 : wholeMsAtLeast(waitNs);
}

std::int64_t performanceCounterNs() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER count{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  // Whole seconds and the rest apart, so the product cannot overflow.
  const std::int64_t seconds = count.QuadPart / frequency.QuadPart;
  const std::int64_t rest = count.QuadPart % frequency.QuadPart;
  return seconds * FrameSchedule::kNsPerSecond +
         rest * FrameSchedule::kNsPerSecond / frequency.QuadPart;
}

}  // namespace skyfare
