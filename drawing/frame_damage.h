#pragma once

#include <QRegion>

#include "drawing/display_list.h"

namespace skyfare {

// The part of the scene that differs between two frames, in scene pixels. Ops are compared by
// their place in the list: an op that changed, or that only one frame has, damages what it can
// change at its old and its new place (opDamage). Two equal lists give an empty region.
QRegion frameDamage(const DisplayList& previous, const DisplayList& next);

}  // namespace skyfare
