#pragma once

#include <windows.h>

#include "core/settings/setting_keys.h"

namespace skyfare {

class SettingsStore;

// Writes a check box's setting: "1" when ticked, "0" when not.
void writeCheck(SettingsStore& store, Key key, HWND box);

// Sets a check box from its stored text. A value of 0 or 1 that changes the box goes through
// its change handling and is written back normalised ("01" becomes "1"); another number is
// clamped for display and not written; a text that is no number leaves the box as it is.
void loadCheck(SettingsStore& store, Key key, HWND box);

}  // namespace skyfare
