#pragma once

#include <cstdint>

namespace skyfare {

class DrawingControl;
class HostServices;
class RandomSource;
struct SaverSettings;
struct Scene;

// What an aircraft step works with: the drawing component, the session's sprites and
// settings, the tick count and the session's one random sequence.
struct FlightContext {
  DrawingControl& drawing;
  const Scene& scene;
  const SaverSettings& settings;
  HostServices& host;
  RandomSource& random;
};

// Whether Speed milliseconds have passed since the last step. Unsigned arithmetic keeps the
// answer right across the 49.7-day wrap of the tick count.
bool stepIsDue(std::uint32_t now, std::uint32_t lastMoveTick, double speedMs);

// A height for a pass: the whole part of r × 500 for the next random r in [0, 1).
int drawHeight(RandomSource& random);

}  // namespace skyfare
