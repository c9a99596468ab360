#pragma once

#include <string>

namespace skyfare {

// The data folder of an installation, with its trailing "/": `<prefix>/share/skyfare/` beside
// an installed executable, or the build tree's `assets/` when run from the build.
std::string dataFolderFor(const std::string& executableFolder);

}  // namespace skyfare
