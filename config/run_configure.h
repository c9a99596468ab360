#pragma once

#include <string>

namespace skyfare {

class SettingsStore;

// Shows the configuration dialog, modeless and without an owner, and runs the event loop until
// the dialog ends the program. Needs the application object the caller made; returns 0.
int runConfigure(SettingsStore& store, const std::string& dataFolder);

}  // namespace skyfare
