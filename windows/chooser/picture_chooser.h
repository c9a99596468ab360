#pragma once

#include "windows/platform/win32_api.h"

#include <string>

#include "core/settings/setting_keys.h"

namespace skyfare {

class SettingsStore;

// What tells the two twin choosers apart.
struct ChooserConfig {
  std::wstring title;
  Key key;
};

// The background chooser and the logo chooser.
ChooserConfig GetFile();
ChooserConfig GetLogo();

// Shows the modal chooser over its owner and returns when it closes. On OK it writes the chosen
// path to its one setting; Cancel and the close box write nothing. It never opens or checks the
// picture itself. Returns whether a path was written.
bool runPictureChooser(HINSTANCE instance, HWND owner, SettingsStore& store,
                       const ChooserConfig& config);

}  // namespace skyfare
