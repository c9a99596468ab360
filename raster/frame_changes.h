#pragma once

#include <algorithm>
#include <cstddef>

namespace skyfare {

// Calls `changed` with each op by which two frames differ. Ops are compared by their place in
// the list: an op that changed, or that only one frame has, counts at its old and its new place.
// Two equal lists give no call.
template <typename Ops, typename Changed>
void forEachChangedOp(const Ops& previous, const Ops& next, Changed&& changed) {
  const std::size_t count = std::max(previous.size(), next.size());
  for (std::size_t i = 0; i < count; ++i) {
    const bool inPrevious = i < previous.size();
    const bool inNext = i < next.size();
    if (inPrevious && inNext && previous[i] == next[i])
      continue;
    if (inPrevious)
      changed(previous[i]);
    if (inNext)
      changed(next[i]);
  }
}

}  // namespace skyfare
