#pragma once

#include <array>
#include <cstdint>

#include "core/saver/aircraft_table.h"
#include "core/saver/flight_context.h"

namespace skyfare {

// The relay record of one airliner.
struct PlaneState {
  bool hasTurn = false;
  bool parked = false;
  FlightPhase phase;
  std::int32_t lastX = 0;
  int nextHeight = 0;
};

using PlaneStates = std::array<PlaneState, kAirlinerCount>;

// The start state: airliner 1 has the turn, the others wait.
PlaneStates startingPlaneStates();

// One relay step of airliner k (1 … 15): draws it, moves it when a step is due, alternates its
// drift and level phases by frame count, and in level frames parks it past its park line and
// hands the sky to the next airliner past its hand-over line.
void StepPlane(FlightContext& flight, PlaneStates& planes, int airliner);

}  // namespace skyfare
