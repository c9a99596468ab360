#include "core/settings/shown_number.h"

#include <algorithm>

#include "core/settings/conversions.h"

namespace skyfare {

std::optional<ShownNumber> shownNumber(std::string_view stored, int minimum, int maximum) {
  const std::optional<int16_t> number = toInt16(stored);
  if (!number)
    return std::nullopt;
  const int value = std::clamp<int>(*number, minimum, maximum);
  return ShownNumber{value, value == *number};
}

}  // namespace skyfare
