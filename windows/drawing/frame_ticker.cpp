#include "windows/drawing/frame_ticker.h"

#include "windows/platform/win32_api.h"

namespace skyfare {
namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;

}  // namespace

void FrameTicker::start() {
  schedule_.start(clock_());
}

FrameTicker::Tick FrameTicker::tick() {
  const FrameSchedule::Wake wake = schedule_.wake(clock_());
  const std::int64_t waitNs = wake.waitNs > 0 ? wake.waitNs : 0;
  return {wake.frameDue, static_cast<std::uint32_t>((waitNs + kNsPerMs - 1) / kNsPerMs)};
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
