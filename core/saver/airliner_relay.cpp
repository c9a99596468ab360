#include "core/saver/airliner_relay.h"

#include "core/controls/drawing_control.h"
#include "core/saver/host_services.h"
#include "core/saver/movement.h"
#include "core/saver/saver_settings.h"
#include "core/saver/scene.h"

namespace skyfare {

PlaneStates startingPlaneStates() {
  PlaneStates planes{};
  planes[0].hasTurn = true;
  return planes;
}

void StepPlane(FlightContext& flight, PlaneStates& planes, int airliner) {
  PlaneState& plane = planes[airliner - 1];
  if (!plane.hasTurn)
    return;
  const AirlinerRow& row = kAirliners[airliner - 1];
  const SpriteHandle sprite = flight.scene.airliner(airliner);
  DrawingControl& drawing = flight.drawing;

  ++plane.phaseFrames;
  drawing.DrawSprite(sprite);
  const bool stepDue =
      stepIsDue(flight.host.tickCount(), plane.lastMoveTick, flight.settings.Speed);

  if (!plane.levelPhase) {
    if (stepDue) {
      MovePlaneb(drawing, flight.scene, airliner);
      plane.lastMoveTick = flight.host.tickCount();
    }
    if (plane.phaseFrames == row.driftFrames) {
      plane.levelPhase = true;
      plane.phaseFrames = 0;
    }
    return;  // parking and hand-over are tested in level frames only
  }

  if (stepDue) {
    MovePlane(drawing, flight.scene, airliner);
    plane.lastMoveTick = flight.host.tickCount();
  }
  plane.lastX = drawing.GetSpriteX(sprite);
  if (row.passes(plane.lastX, row.parkLine)) {
    plane.parked = true;
    plane.hasTurn = false;
    drawing.SetSpriteX(sprite, row.parkX);
    drawing.SetSpriteY(sprite, row.parkY.value_or(plane.nextHeight));
  }
  if (plane.phaseFrames == row.levelFrames) {
    plane.levelPhase = false;
    plane.phaseFrames = 0;
  }
  if (row.passes(plane.lastX, row.handOverLine)) {
    PlaneState& next = planes[airliner % kAirlinerCount];
    next.hasTurn = true;
    next.parked = false;
    next.nextHeight = drawHeight(flight.random);
  }
}

}  // namespace skyfare
