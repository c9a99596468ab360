#include "core/saver/flight_context.h"

#include <algorithm>
#include <cmath>

#include "core/saver/host_services.h"

namespace skyfare {
namespace {
inline constexpr int kHeightRange = 500;
}

bool stepIsDue(std::uint32_t now, std::uint32_t lastMoveTick, double speedMs) {
  const std::uint32_t elapsedMs = now - lastMoveTick;
  return static_cast<double>(elapsedMs) >= speedMs;
}

int drawHeight(RandomSource& random) {
  const double r = std::clamp(random.next(), 0.0, 1.0);
  return std::min(static_cast<int>(std::floor(r * kHeightRange)), kHeightRange - 1);
}

}  // namespace skyfare
