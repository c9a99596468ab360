#include "saver/data_folder.h"

#include <filesystem>

namespace skyfare {

std::string dataFolderFor(const std::string& executableFolder) {
  const std::filesystem::path prefix = std::filesystem::path(executableFolder).parent_path();
  return (prefix / "share" / "skyfare").lexically_normal().string() + "/";
}

}  // namespace skyfare
