#pragma once

#include <windows.h>

#include <string>

namespace skyfare {

class SettingsStore;

// Shows the Control Box over the store and runs its messages until "&OK" or the close box ends
// it. `dataFolder` ends in "\"; its support page is the one "&Online HELP" opens. Returns the
// program's exit code.
int runConfigure(HINSTANCE instance, SettingsStore& store, const std::string& dataFolder);

}  // namespace skyfare
