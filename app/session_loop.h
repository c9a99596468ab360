#pragma once

#include <functional>

namespace skyfare {

class Form1;

// Runs a display session from its load step to its unload step: the three one-second timers
// from the start, the load step (which a termination signal ends at once), then the event loop
// until something ends it, and the unload step whatever ended it. afterLoad runs once the
// session is up. Returns the exit code.
int runSessionLoop(Form1& form, const std::function<void()>& afterLoad = {});

}  // namespace skyfare
