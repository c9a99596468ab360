#pragma once

#include <string>

namespace skyfare {

// The data folder beside an executable in `<prefix>/bin/`, with its trailing "/":
// `<prefix>/share/skyfare/`. The build tree is laid out the same way.
std::string dataFolderFor(const std::string& executableFolder);

}  // namespace skyfare
