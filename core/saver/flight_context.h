#pragma once

#include <cstdint>

#include "core/controls/drawing_control.h"
#include "core/saver/aircraft_table.h"

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

// Where an aircraft is in its rhythm of drift and level frames. The counters run on across
// passes.
struct FlightPhase {
  bool levelPhase = false;
  int phaseFrames = 0;
  std::uint32_t lastMoveTick = 0;
};

// One frame of flight, the same for the airliners and the jet: counts the frame, makes the step
// of its phase (MovePlaneb drifting, MovePlane level) when Speed milliseconds have passed since
// the last one, and turns to the other phase once the phase's frames are done. Returns whether
// the frame was a level frame.
bool flyFrame(FlightContext& flight, FlightPhase& phase, SpriteHandle sprite, MovementSteps steps,
              int driftFrames, int levelFrames);

// Whether Speed milliseconds have passed since the last step. Unsigned arithmetic keeps the
// answer right across the 49.7-day wrap of the tick count.
bool stepIsDue(std::uint32_t now, std::uint32_t lastMoveTick, double speedMs);

// A height for a pass: the whole part of r × 500 for the next random r in [0, 1).
int drawHeight(RandomSource& random);

}  // namespace skyfare
