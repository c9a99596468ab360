#pragma once

#include <cstdint>

#include "core/controls/sound_control.h"
#include "core/saver/flight_context.h"

namespace skyfare {

// The fast jet's record: its flight, and the pause between passes, counted in seconds by the
// one-second timer.
struct JetState {
  bool waiting = false;
  FlightPhase phase;
  std::int32_t lastX = 0;
  int nextHeight = 0;
  int waitSeconds = 0;
};

// What the jet shares with the rest of the session: the take-off sound and whether its time
// limit has run out.
struct JetSession {
  SoundControl& sound;
  SoundHandle jetSoundHandle;
  bool fastJetEnabled;
  bool soundStopped;
};

// One jet step: draws it, moves it when a step is due, sends it to wait off the right edge when
// it has left the scene, starts its next pass after the pause, and keeps its take-off sound going
// in level frames while it is on screen.
void StepJet(FlightContext& flight, JetState& jet, const JetSession& session);

// tmrPause's tick: one more second of the pause, back to 0 once it is past SecDelay.
void countPauseSecond(JetState& jet, double secDelay);

}  // namespace skyfare
