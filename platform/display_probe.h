#pragma once

#include <string>

namespace skyfare {

// Why no graphical session can be opened ("DISPLAY is not set", …), or empty when one can. Qt
// ends the process when its platform cannot connect, so this is asked before any window exists.
std::string displayProblem();

}  // namespace skyfare
