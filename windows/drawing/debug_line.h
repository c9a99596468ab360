#pragma once

#include <string>
#include <string_view>

namespace skyfare {

// Says one line to the debugger's output, where Windows programs say what went wrong
// without bothering the user.
void debugLine(std::string_view utf8Text);

std::wstring widened(std::string_view utf8);
std::string narrowed(std::wstring_view wide);

}  // namespace skyfare
