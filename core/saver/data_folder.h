#pragma once

#include <optional>
#include <string>
#include <vector>

namespace skyfare {

// The data folders an executable may belong to, with their trailing "/", most likely first:
// `<prefix>/share/skyfare/` for an executable in `<prefix>/bin/` or in `<prefix>/libexec/<name>/`
// (the build tree is laid out the same way), then the data folder of the prefix the program was
// built for, which serves a copy placed anywhere else.
std::vector<std::string> dataFolderCandidates(const std::string& executableFolder,
                                              const std::string& builtForDataFolder);

// The first candidate that holds the first-run pictures; nothing when none does.
std::optional<std::string> findDataFolder(const std::vector<std::string>& candidates);

}  // namespace skyfare
