#pragma once

#include <string>

#include "core/saver/scene.h"

namespace skyfare {

class DrawingControl;
class HostServices;
class SettingsStore;
struct SaverSettings;

inline constexpr const char* kDisplayErrorText =
    "This program requires that you use a monitor that is capable of displaying 64K colors.";
inline constexpr const char* kDisplayErrorTitle = "Error opening Direct Draw!";

// OpenDirectDrawSession: opens the 800 × 600 display and creates, loads and places every sprite
// of the scene, each before the next is created. Fills BackGround and LogoChecked of the
// settings. When the display cannot be opened it shows the error message, creates no sprite and
// returns false.
bool OpenDirectDrawSession(DrawingControl& drawing, SettingsStore& store, HostServices& host,
                           const std::string& installFolder, SaverSettings& settings, Scene& scene);

}  // namespace skyfare
