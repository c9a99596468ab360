#include "core/saver/data_folder.h"

#include <filesystem>

#include "core/settings/setting_keys.h"

namespace skyfare {
namespace {

bool holdsFirstRunPictures(const std::string& folder) {
  std::error_code error;
  for (const SettingKey& row : kSettingKeys) {
    if (row.defaultInDataFolder &&
        !std::filesystem::is_regular_file(folder + std::string(row.firstRunDefault), error))
      return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> dataFolderCandidates(const std::string& executableFolder,
                                              const std::string& builtForDataFolder) {
  const std::filesystem::path folder = std::filesystem::path(executableFolder).lexically_normal();
  std::vector<std::string> candidates;
  for (const std::filesystem::path& prefix :
       {folder.parent_path(), folder.parent_path().parent_path()}) {
    candidates.push_back((prefix / "share" / "skyfare").string() + "/");
  }
  if (!builtForDataFolder.empty())
    candidates.push_back(builtForDataFolder);
  return candidates;
}

std::optional<std::string> findDataFolder(const std::vector<std::string>& candidates) {
  for (const std::string& candidate : candidates) {
    if (holdsFirstRunPictures(candidate))
      return candidate;
  }
  return std::nullopt;
}

}  // namespace skyfare
