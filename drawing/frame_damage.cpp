#include "drawing/frame_damage.h"

#include "raster/frame_changes.h"

namespace skyfare {

QRegion frameDamage(const DisplayList& previous, const DisplayList& next) {
  QRegion damage;
  forEachChangedOp(previous, next, [&damage](const DrawOp& op) { damage += opDamage(op); });
  return damage;
}

}  // namespace skyfare
