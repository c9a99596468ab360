#pragma once

#include <cstdint>

namespace skyfare {

// Counts mouse movements against the sensitivity. A window of 10 seconds opens at the first
// movement; a movement that comes later than that is counted and tested first, then clears the
// count. A window opened just before midnight never expires.
class MouseRule {
 public:
  // Returns true when this movement ends the session.
  bool movement(double mouseSens, double secondsSinceMidnight);

 private:
  std::int16_t moveCount_ = 0;
  std::int32_t moveWindowStart_ = 0;
};

}  // namespace skyfare
