// The conversions of stored texts: no text crashes them, and the one-pass search for a
// numeric tail finds what trying every tail finds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/settings/conversions.h"

namespace {

constexpr std::size_t kLongestComparedText = 256;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  skyfare::leadingNumber(text);
  const auto whole = skyfare::toInt16(text);
  if (whole.has_value() && !skyfare::isNumericText(text))
    __builtin_trap();
  const std::size_t start = skyfare::longestNumericTailStart(text);
  if (size <= kLongestComparedText) {
    std::size_t expected = size;
    for (std::size_t i = 0; i < size; ++i) {
      if (skyfare::isNumericText(text.substr(i))) {
        expected = i;
        break;
      }
    }
    if (start != expected)
      __builtin_trap();
  }
  return 0;
}
