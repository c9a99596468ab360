#pragma once

#include <QString>

namespace skyfare {

// The user's configuration folder: XDG_CONFIG_HOME, else ~/.config. Without HOME, the account's
// home folder from the user database is meant, not the root folder Qt falls back to.
QString userConfigFolder();

}  // namespace skyfare
