#include "core/saver/fast_jet.h"

#include "core/controls/drawing_control.h"
#include "core/saver/aircraft_table.h"
#include "core/saver/saver_settings.h"
#include "core/saver/scene.h"

namespace skyfare {

void StepJet(FlightContext& flight, JetState& jet, const JetSession& session) {
  if (!session.fastJetEnabled)
    return;
  DrawingControl& drawing = flight.drawing;
  const SpriteHandle sprite = flight.scene.jetSprite;
  drawing.DrawSprite(sprite);

  if (!jet.waiting) {
    const bool level = flyFrame(flight, jet.phase, sprite, kFastJet.steps, kFastJet.driftFrames,
                                kFastJet.levelFrames);
    jet.lastX = drawing.GetSpriteX(sprite);
    const int leaveLine = level ? kFastJet.levelLeaveLine : kFastJet.driftLeaveLine;
    if (jet.lastX < leaveLine) {
      jet.waitSeconds = 0;
      jet.waiting = true;
      drawing.SetSpriteX(sprite, kFastJet.startX);
      drawing.SetSpriteY(sprite, jet.nextHeight);
    }
    if (level && jet.lastX < kFastJet.soundLine && !session.soundStopped) {
      session.sound.PlaySound(session.jetSoundHandle, -1, -1);
      session.sound.SetVolume(session.jetSoundHandle, flight.settings.Volume);
    }
  }

  if (jet.waiting) {
    drawing.SetSpriteX(sprite, kFastJet.startX);
    drawing.SetSpriteY(sprite, jet.nextHeight);
    if (jet.waitSeconds > flight.settings.SecDelay - 1) {
      jet.waiting = false;
      jet.nextHeight = drawHeight(flight.random);
    }
  }
}

void countPauseSecond(JetState& jet, double secDelay) {
  ++jet.waitSeconds;
  if (jet.waitSeconds > secDelay)
    jet.waitSeconds = 0;
}

}  // namespace skyfare
