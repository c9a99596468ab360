#include "core/saver/airliner_relay.h"

#include "core/controls/drawing_control.h"
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

  drawing.DrawSprite(sprite);
  if (!flyFrame(flight, plane.phase, sprite, row.steps, row.driftFrames, row.levelFrames))
    return;  // parking and hand-over are tested in level frames only

  plane.lastX = drawing.GetSpriteX(sprite);
  if (row.passes(plane.lastX, row.parkLine)) {
    plane.parked = true;
    plane.hasTurn = false;
    drawing.SetSpriteX(sprite, row.parkX);
    drawing.SetSpriteY(sprite, row.parkY.value_or(plane.nextHeight));
  }
  if (row.passes(plane.lastX, row.handOverLine)) {
    PlaneState& next = planes[airliner % kAirlinerCount];
    next.hasTurn = true;
    next.parked = false;
    next.nextHeight = drawHeight(flight.random);
  }
}

}  // namespace skyfare
