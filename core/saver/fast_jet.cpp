#include "core/saver/fast_jet.h"

#include "core/controls/drawing_control.h"
#include "core/saver/aircraft_table.h"
#include "core/saver/host_services.h"
#include "core/saver/movement.h"
#include "core/saver/saver_settings.h"
#include "core/saver/scene.h"

namespace skyfare {

void StepJet(FlightContext& flight, JetState& jet, JetSession& session) {
  if (!session.fastJetEnabled)
    return;
  DrawingControl& drawing = flight.drawing;
  const SpriteHandle sprite = flight.scene.jetSprite;
  drawing.DrawSprite(sprite);

  if (!jet.waiting) {
    const bool level = jet.levelPhase;
    ++jet.phaseFrames;
    if (stepIsDue(flight.host.tickCount(), jet.lastMoveTick, flight.settings.Speed)) {
      level ? MoveJet(drawing, flight.scene) : MoveJetb(drawing, flight.scene);
      jet.lastMoveTick = flight.host.tickCount();
    }
    jet.lastX = drawing.GetSpriteX(sprite);
    const int leaveLine = level ? kFastJet.levelLeaveLine : kFastJet.driftLeaveLine;
    if (jet.lastX < leaveLine) {
      session.jetWaitSeconds = 0;
      jet.waiting = true;
      drawing.SetSpriteX(sprite, kFastJet.startX);
      drawing.SetSpriteY(sprite, jet.nextHeight);
    }
    if (level && jet.phaseFrames == kFastJet.levelFrames) {
      jet.levelPhase = false;
      jet.phaseFrames = 0;
    } else if (!level && jet.phaseFrames == kFastJet.driftFrames) {
      jet.levelPhase = true;
      jet.phaseFrames = 0;
    }
    if (level && jet.lastX < kFastJet.soundLine && !session.soundStopped) {
      session.sound.PlaySound(session.jetSoundHandle, -1, -1);
      session.sound.SetVolume(session.jetSoundHandle, flight.settings.Volume);
    }
  }

  if (jet.waiting) {
    drawing.SetSpriteX(sprite, kFastJet.startX);
    drawing.SetSpriteY(sprite, jet.nextHeight);
    if (session.jetWaitSeconds > flight.settings.SecDelay - 1) {
      jet.waiting = false;
      jet.nextHeight = drawHeight(flight.random);
    }
  }
}

}  // namespace skyfare
