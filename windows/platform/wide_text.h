#pragma once

#include <string>
#include <string_view>

namespace skyfare {

// UTF-8 and UTF-16 into each other, losslessly for every valid text. What is not valid (a stray
// or truncated byte sequence, an overlong form, an encoded surrogate, a lone surrogate) becomes
// one U+FFFD for each broken piece, so text from outside never stops the program.
std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);

}  // namespace skyfare
