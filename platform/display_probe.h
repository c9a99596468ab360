#pragma once

namespace skyfare {

// Whether a graphical session can be opened at all. Qt ends the process when its platform
// cannot connect, so this is asked before any window exists.
bool displayAvailable();

}  // namespace skyfare
