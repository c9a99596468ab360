#pragma once

#include <string>

namespace skyfare {

// Where the running program's pictures and sound are.
struct Installation {
  std::string dataFolder;  // with its trailing "/"
  bool dataFolderFound = false;
};

// The data folder of the installation the running executable belongs to, found from its own
// resolved location (a link to it counts where it points). When none holds the pictures, the
// most likely folder is kept for reading, and one line on standard error says so.
Installation findInstallation(const char* argv0, const char* programName);

}  // namespace skyfare
