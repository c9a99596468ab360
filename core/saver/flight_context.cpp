#include "core/saver/flight_context.h"

#include <algorithm>
#include <cmath>

#include "core/saver/host_services.h"
#include "core/saver/movement.h"
#include "core/saver/saver_settings.h"

namespace skyfare {
namespace {
inline constexpr int kHeightRange = 500;
}

bool stepIsDue(std::uint32_t now, std::uint32_t lastMoveTick, double speedMs) {
  const std::uint32_t elapsedMs = now - lastMoveTick;
  return static_cast<double>(elapsedMs) >= speedMs;
}

bool flyFrame(FlightContext& flight, FlightPhase& phase, SpriteHandle sprite, MovementSteps steps,
              int driftFrames, int levelFrames) {
  const bool level = phase.levelPhase;
  ++phase.phaseFrames;
  if (stepIsDue(flight.host.tickCount(), phase.lastMoveTick, flight.settings.Speed)) {
    level ? MovePlane(flight.drawing, sprite, steps) : MovePlaneb(flight.drawing, sprite, steps);
    phase.lastMoveTick = flight.host.tickCount();
  }
  if (phase.phaseFrames == (level ? levelFrames : driftFrames)) {
    phase.levelPhase = !level;
    phase.phaseFrames = 0;
  }
  return level;
}

int drawHeight(RandomSource& random) {
  const double r = std::clamp(random.next(), 0.0, 1.0);
  return std::min(static_cast<int>(std::floor(r * kHeightRange)), kHeightRange - 1);
}

}  // namespace skyfare
