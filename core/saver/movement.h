#pragma once

#include "core/controls/drawing_control.h"
#include "core/saver/aircraft_table.h"

namespace skyfare {

// The level step (MovePlane1 … MovePlane15, and MoveJet over the jet's row): one step along the
// line of flight.
void MovePlane(DrawingControl& drawing, SpriteHandle sprite, MovementSteps steps);
// The drift step (MovePlane1b … MovePlane15b, and MoveJetb): also one pixel up or down.
void MovePlaneb(DrawingControl& drawing, SpriteHandle sprite, MovementSteps steps);

}  // namespace skyfare
