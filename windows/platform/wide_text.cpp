#include "windows/platform/wide_text.h"

#include <cstdint>

namespace skyfare {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// Decodes the sequence at `at`, moving `at` past it. A broken sequence gives U+FFFD and moves
// past its longest valid beginning, at least one byte.
char32_t nextCodePoint(std::string_view text, std::size_t& at) {
  const auto lead = static_cast<unsigned char>(text[at++]);
  if (lead < 0x80)
    return lead;
  int length = 0;
  char32_t value = 0;
  // The range the second byte must fall in rules out overlong forms, surrogates and values
  // above U+10FFFF.
  unsigned char secondLow = 0x80;
  unsigned char secondHigh = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
    if (lead == 0xE0)
      secondLow = 0xA0;
    if (lead == 0xED)
      secondHigh = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
    if (lead == 0xF0)
      secondLow = 0x90;
    if (lead == 0xF4)
      secondHigh = 0x8F;
  } else {
    return kReplacement;
  }
  for (int i = 1; i < length; ++i) {
    if (at >= text.size())
      return kReplacement;
    const auto byte = static_cast<unsigned char>(text[at]);
    if (!isContinuation(byte) || (i == 1 && (byte < secondLow || byte > secondHigh)))
      return kReplacement;
    value = (value << 6) | (byte & 0x3F);
    ++at;
  }
  return value;
}

void appendUtf8(std::string& out, char32_t value) {
  if (value < 0x80) {
    out += static_cast<char>(value);
  } else if (value < 0x800) {
    out += static_cast<char>(0xC0 | (value >> 6));
    out += static_cast<char>(0x80 | (value & 0x3F));
  } else if (value < 0x10000) {
    out += static_cast<char>(0xE0 | (value >> 12));
    out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (value & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (value >> 18));
    out += static_cast<char>(0x80 | ((value >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (value & 0x3F));
  }
}

bool isHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::wstring wideFromUtf8(std::string_view utf8) {
  std::wstring wide;
  wide.reserve(utf8.size());
  std::size_t at = 0;
  while (at < utf8.size()) {
    const char32_t value = nextCodePoint(utf8, at);
    if (value < 0x10000) {
      wide += static_cast<wchar_t>(value);
    } else {
      const char32_t offset = value - 0x10000;
      wide += static_cast<wchar_t>(0xD800 + (offset >> 10));
      wide += static_cast<wchar_t>(0xDC00 + (offset & 0x3FF));
    }
  }
  return wide;
}

std::string utf8FromWide(std::wstring_view wide) {
  std::string utf8;
  utf8.reserve(wide.size());
  for (std::size_t at = 0; at < wide.size(); ++at) {
    const auto unit = static_cast<char32_t>(static_cast<std::uint16_t>(wide[at]));
    if (isHighSurrogate(unit) && at + 1 < wide.size()) {
      const auto next = static_cast<char32_t>(static_cast<std::uint16_t>(wide[at + 1]));
      if (isLowSurrogate(next)) {
        appendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
        ++at;
        continue;
      }
    }
    appendUtf8(utf8, isHighSurrogate(unit) || isLowSurrogate(unit) ? kReplacement : unit);
  }
  return utf8;
}

}  // namespace skyfare
