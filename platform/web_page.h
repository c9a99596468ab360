#pragma once

#include <QString>

namespace skyfare {

// Opens a page in the user's browser. False when nothing could be started to open it.
bool openWebPage(const QString& address);

}  // namespace skyfare
