#pragma once

#include <string_view>

namespace skyfare {

// Says one line of UTF-8 text to the system's debug output, where a user's debugger or a
// debug viewer shows it.
void soundDebugLine(std::string_view line);

}  // namespace skyfare
