#pragma once

#include "windows/platform/win32_api.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace skyfare {

// What follows the program's name in a command line, quoted or not.
std::wstring_view argumentsOf(std::wstring_view commandLine);

// The process's command line after the program's name, as UTF-8 for the core's parser.
std::string processArguments();

// The window that a preview's handle number names, or null when it names none: a number the
// host wrote in decimal, of a handle's 32 significant bits.
HWND previewHostWindow(std::int64_t handleNumber);

}  // namespace skyfare
