#pragma once

#include <QString>

namespace skyfare {

// Opens a page in the user's browser; a failure is silent.
void openWebPage(const QString& address);

}  // namespace skyfare
