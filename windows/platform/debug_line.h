#pragma once

#include <string_view>

namespace skyfare {

// The one-line diagnostic of a program without a console: "skyfare: <line>" to the debugger
// output, where a debugger or DebugView shows it (Wine 8 prints it, in its code
// page, with WINEDEBUG=warn+seh).
void debugLine(std::string_view utf8Line);

}  // namespace skyfare
