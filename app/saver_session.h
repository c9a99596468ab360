#pragma once

#include "app/installation.h"

namespace skyfare {

// Runs a display session until it ends, with the real drawing and sound components, the settings
// store and the three one-second timers. When the event loop ends by other means than the
// session's own CloseDown, the window's unload step still runs. Returns the exit code.
int runSaver(const Installation& installation);

}  // namespace skyfare
