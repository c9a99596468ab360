#include "core/settings/conversions.h"

#include <cmath>
#include <limits>
#include <string>

namespace skyfare {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

double leadingNumber(std::string_view text) {
  // Collect the characters of the number with the blanks taken out, then let strtod read it.
  std::string number;
  bool seenPoint = false;
  bool seenDigit = false;
  for (const char c : text) {
    if (isBlank(c))
      continue;
    if (isDigit(c)) {
      number += c;
      seenDigit = true;
    } else if ((c == '+' || c == '-') && number.empty()) {
      number += c;
    } else if (c == '.' && !seenPoint) {
      number += c;
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!seenDigit)
    return 0.0;
  const double value = std::strtod(number.c_str(), nullptr);
  return std::isfinite(value) ? value : 0.0;
}

std::optional<int16_t> toInt16(double value) {
  if (!std::isfinite(value))
    return std::nullopt;
  const double rounded = std::nearbyint(value);  // the default rounding mode: half to even
  if (rounded < std::numeric_limits<int16_t>::min() ||
      rounded > std::numeric_limits<int16_t>::max()) {
    return std::nullopt;
  }
  return static_cast<int16_t>(rounded);
}

bool isNumericText(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    ++i;
  bool digits = false;
  while (i < text.size() && isDigit(text[i])) {
    ++i;
    digits = true;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i])) {
      ++i;
      digits = true;
    }
  }
  while (i < text.size() && isBlank(text[i])) ++i;
  return digits && i == text.size();
}

std::size_t longestNumericTailStart(std::string_view text) {
  // One pass from the end over the same grammar: blanks, digits with at most one point, a
  // sign, blanks.
  std::size_t start = text.size();
  while (start > 0 && isBlank(text[start - 1])) --start;
  bool digits = false;
  bool point = false;
  while (start > 0 && (isDigit(text[start - 1]) || (text[start - 1] == '.' && !point))) {
    point = point || text[start - 1] == '.';
    digits = digits || isDigit(text[start - 1]);
    --start;
  }
  if (!digits)
    return text.size();
  if (start > 0 && (text[start - 1] == '+' || text[start - 1] == '-'))
    --start;
  while (start > 0 && isBlank(text[start - 1])) --start;
  return start;
}

std::optional<int16_t> toInt16(std::string_view text) {
  if (!isNumericText(text))
    return std::nullopt;
  return toInt16(leadingNumber(text));
}

}  // namespace skyfare
