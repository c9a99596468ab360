#include "drawing/frame_damage.h"

#include <algorithm>

namespace skyfare {

QRegion frameDamage(const DisplayList& previous, const DisplayList& next) {
  QRegion damage;
  const std::size_t count = std::max(previous.size(), next.size());
  for (std::size_t i = 0; i < count; ++i) {
    const bool inPrevious = i < previous.size();
    const bool inNext = i < next.size();
    if (inPrevious && inNext && previous[i] == next[i])
      continue;
    if (inPrevious)
      damage += opDamage(previous[i]);
    if (inNext)
      damage += opDamage(next[i]);
  }
  return damage;
}

}  // namespace skyfare
