#pragma once

#include <cstdint>

#include "core/controls/sound_control.h"
#include "core/saver/flight_context.h"

namespace skyfare {

// The fast jet's record. Its phase counters run on across passes.
struct JetState {
  bool waiting = false;
  bool levelPhase = false;
  int phaseFrames = 0;
  std::uint32_t lastMoveTick = 0;
  std::int32_t lastX = 0;
  int nextHeight = 0;
};

// What the jet shares with the rest of the session: the pause counted by the one-second timer,
// the take-off sound and whether its time limit has run out.
struct JetSession {
  SoundControl& sound;
  SoundHandle jetSoundHandle;
  bool fastJetEnabled;
  bool soundStopped;
  int& jetWaitSeconds;
};

// One jet step: draws it, moves it when a step is due, sends it to wait off the right edge when
// it has left the scene, starts its next pass after the pause, and keeps its take-off sound going
// in level frames while it is on screen.
void StepJet(FlightContext& flight, JetState& jet, JetSession& session);

}  // namespace skyfare
