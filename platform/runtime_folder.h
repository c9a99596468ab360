#pragma once

#include <QString>

namespace skyfare {

// The user's runtime folder for locks, or the temporary folder when there is none.
QString runtimeFolder();

}  // namespace skyfare
