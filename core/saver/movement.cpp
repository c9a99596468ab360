#include "core/saver/movement.h"

namespace skyfare {

void MovePlane(DrawingControl& drawing, SpriteHandle sprite, MovementSteps steps) {
  drawing.MoveSpriteX(sprite, steps.horizontal);
}

void MovePlaneb(DrawingControl& drawing, SpriteHandle sprite, MovementSteps steps) {
  drawing.MoveSpriteY(sprite, steps.vertical);
  drawing.MoveSpriteX(sprite, steps.horizontal);
}

}  // namespace skyfare
