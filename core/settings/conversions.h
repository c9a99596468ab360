#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace skyfare {

// The longest leading part of the text that reads as a decimal number, blanks ignored
// anywhere; no number at all gives 0. " 4" → 4, "12abc" → 12, "3.0" → 3, "abc" → 0.
double leadingNumber(std::string_view text);

// Rounds to the nearest whole number, a half to the even neighbour (2.5 → 2, 3.5 → 4);
// nothing when the result lies outside the 16-bit range or the value is not finite.
std::optional<int16_t> toInt16(double value);

// Converts a whole numeric text (blanks around it allowed) to a 16-bit integer, rounding a
// half to even; nothing for a text that is no number or lies outside 16 bits.
std::optional<int16_t> toInt16(std::string_view text);

// True when the text is a number as the platform's numeric test accepts it: blanks, an
// optional sign, digits with an optional fraction, blanks.
bool isNumericText(std::string_view text);

// Where the longest tail of the text that is numeric text starts, in time linear in the text's
// length; the text's size when no tail is numeric.
std::size_t longestNumericTailStart(std::string_view text);

}  // namespace skyfare
