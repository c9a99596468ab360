#pragma once

#include "windows/platform/win32_api.h"

namespace skyfare {

// Runs the saver window's display session on every monitor until CloseDown ends the process.
// Returns only when the session could not start or its message loop ended some other way.
int runSaver(HINSTANCE instance);

}  // namespace skyfare
