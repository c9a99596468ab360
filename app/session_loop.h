#pragma once

#include <functional>

#include "app/installation.h"
#include "app/termination/way_of_ending.h"

namespace skyfare {

class DisplayListControl;
class HostServices;
class SoundControl;

// Runs a display session on the given drawing, sound and host components, with the settings
// store and the session's fixed-seed random generator, from its load step to its unload step:
// the three one-second timers from the start, the load step (which a termination signal ends at
// once, the way given), then the event loop until something ends it, and the unload step whatever
// ended it. afterLoad runs once the session is up. Returns the exit code.
int runDisplaySession(const Installation& installation, DisplayListControl& drawing,
                      SoundControl& sound, HostServices& host, WayOfEnding wayOfEnding,
                      const std::function<void()>& afterLoad = {});

}  // namespace skyfare
