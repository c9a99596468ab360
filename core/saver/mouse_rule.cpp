#include "core/saver/mouse_rule.h"

#include <cmath>
#include <limits>

namespace skyfare {
namespace {
inline constexpr double kMoveWindowSeconds = 10.0;
}

bool MouseRule::movement(double mouseSens, double secondsSinceMidnight) {
  // The count saturates rather than overflowing, and a sensitivity the count can never equal
  // exactly (below 1, or with a fraction) still ends the session once it is reached; for every
  // whole sensitivity from 1 up this is the same as testing for equality.
  if (moveCount_ < std::numeric_limits<std::int16_t>::max())
    ++moveCount_;
  if (moveCount_ >= mouseSens)
    return true;

  if (moveWindowStart_ == 0) {
    moveWindowStart_ = static_cast<std::int32_t>(std::nearbyint(secondsSinceMidnight));
  } else if (secondsSinceMidnight - moveWindowStart_ > kMoveWindowSeconds) {
    moveWindowStart_ = 0;
    moveCount_ = 0;
  }
  return false;
}

}  // namespace skyfare
