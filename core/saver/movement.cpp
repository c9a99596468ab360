#include "core/saver/movement.h"

namespace skyfare {

void levelStep(DrawingControl& drawing, SpriteHandle sprite, MovementSteps steps) {
  drawing.MoveSpriteX(sprite, steps.horizontal);
}

void driftStep(DrawingControl& drawing, SpriteHandle sprite, MovementSteps steps) {
  drawing.MoveSpriteY(sprite, steps.vertical);
  drawing.MoveSpriteX(sprite, steps.horizontal);
}

void MoveJet(DrawingControl& drawing, const Scene& scene) {
  levelStep(drawing, scene.jetSprite, kFastJet.steps);
}

void MoveJetb(DrawingControl& drawing, const Scene& scene) {
  driftStep(drawing, scene.jetSprite, kFastJet.steps);
}

void MovePlane(DrawingControl& drawing, const Scene& scene, int airliner) {
  levelStep(drawing, scene.airliner(airliner), kAirliners[airliner - 1].steps);
}

void MovePlaneb(DrawingControl& drawing, const Scene& scene, int airliner) {
  driftStep(drawing, scene.airliner(airliner), kAirliners[airliner - 1].steps);
}

}  // namespace skyfare
