#pragma once

namespace skyfare {

// Whether the system's display settings window, from which the user tries a saver, is open.
bool displaySettingsWindowOpen();

}  // namespace skyfare
