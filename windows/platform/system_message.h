#pragma once

#include "windows/platform/win32_api.h"

#include <string>

namespace skyfare {

// What the system says about an error code, in one line without its final full stop; empty
// when it has no text for it.
std::string systemMessage(DWORD error);

}  // namespace skyfare
