#pragma once

#include <string>

#include "core/saver/scene.h"

namespace skyfare {

class DrawingControl;
class HostServices;
class SettingsStore;

inline constexpr const char* kDisplayErrorText =
    "This program requires that you use a monitor that is capable of displaying 64K colors.";
inline constexpr const char* kDisplayErrorTitle = "Error opening Direct Draw!";

// What the scene's opening leaves for the session: its sprites, and the two settings it read to
// make them, which the frame update draws by. Without a display only the folder is set.
struct OpenedScene {
  bool displayOpen = false;
  Scene scene;
  double BackGround = 0;
  double LogoChecked = 0;
};

// OpenDirectDrawSession: opens the 800 × 600 display and creates, loads and places every sprite
// of the scene, each before the next is created. When the display cannot be opened it shows the
// error message and creates no sprite.
OpenedScene OpenDirectDrawSession(DrawingControl& drawing, SettingsStore& store, HostServices& host,
                                  const std::string& installFolder);

}  // namespace skyfare
