#include "app/installation.h"

#include <cstdio>
#include <filesystem>

#include "core/saver/data_folder.h"

namespace skyfare {
namespace {

std::string executableFolder(const char* argv0) {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error)
    return self.parent_path().string();
  return std::filesystem::absolute(argv0, error).parent_path().string();
}

}  // namespace

Installation findInstallation(const char* argv0, const char* programName) {
  const std::string folder = executableFolder(argv0);
  const std::vector<std::string> candidates =
      dataFolderCandidates(folder, SKYFARE_BUILT_FOR_DATA_DIR);
  if (const auto found = findDataFolder(candidates))
    return {*found, true};
  std::fprintf(stderr, "%s: no data folder with the program's pictures beside %s\n", programName,
               folder.c_str());
  return {candidates.front(), false};
}

}  // namespace skyfare
