#include "saver/data_folder.h"

#include <filesystem>

namespace skyfare {

std::string dataFolderFor(const std::string& executableFolder) {
  namespace fs = std::filesystem;
  const fs::path bin(executableFolder);
  std::error_code error;
  for (const fs::path& candidate :
       {bin.parent_path() / "assets", bin.parent_path() / "share" / "skyfare"}) {
    if (fs::is_directory(candidate, error))
      return candidate.lexically_normal().string() + "/";
  }
  return (bin.parent_path() / "share" / "skyfare").lexically_normal().string() + "/";
}

}  // namespace skyfare
