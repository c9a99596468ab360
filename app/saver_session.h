#pragma once

#include "app/installation.h"

namespace skyfare {

class WaylandConnection;

// Runs a display session until it ends, with the real drawing and sound components, the settings
// store and the three one-second timers. When the event loop ends by other means than the
// session's own CloseDown, the window's unload step still runs. Returns the exit code.
int runSaver(const Installation& installation);

// The same session drawn on layer surfaces over our own connection to the compositor; Qt runs
// on its offscreen platform. The session ends when the compositor ends the connection.
int runLayerSaver(const Installation& installation, WaylandConnection& connection);

// The same scene on background layer surfaces behind a lock screen, ignoring input. The locker
// ends it by closing the connection, which is a normal end: returns 0 then.
int runLockBackground(const Installation& installation, WaylandConnection& connection);

}  // namespace skyfare
