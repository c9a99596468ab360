#pragma once

#include "core/controls/drawing_control.h"
#include "core/saver/aircraft_table.h"
#include "core/saver/scene.h"

namespace skyfare {

// The level step (MoveJet, MovePlane1 … MovePlane15): one step along the line of flight.
void levelStep(DrawingControl& drawing, SpriteHandle sprite, MovementSteps steps);
// The drift step (MoveJetb, MovePlane1b … MovePlane15b): also one pixel up or down.
void driftStep(DrawingControl& drawing, SpriteHandle sprite, MovementSteps steps);

// The established names, over the one table of steps. Airliners are numbered 1 … 15.
void MoveJet(DrawingControl& drawing, const Scene& scene);
void MoveJetb(DrawingControl& drawing, const Scene& scene);
void MovePlane(DrawingControl& drawing, const Scene& scene, int airliner);
void MovePlaneb(DrawingControl& drawing, const Scene& scene, int airliner);

}  // namespace skyfare
