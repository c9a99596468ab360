#pragma once

#include <optional>
#include <string_view>

namespace skyfare {

// A stored number as a control shows it: clamped into the control's range, and whether the
// stored value already lay inside it. Only an in-range value is written back when the dialog
// opens, so a value the user never touched is not replaced by its clamped form.
struct ShownNumber {
  int value;
  bool inRange;
};

// Nothing for a text that is no number, or none that fits 16 bits; the control then keeps
// what it shows.
std::optional<ShownNumber> shownNumber(std::string_view stored, int minimum, int maximum);

}  // namespace skyfare
