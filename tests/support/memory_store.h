#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "core/settings/settings_store.h"

namespace skyfare::testing {

// A settings store in memory that records the order of reads and writes.
class MemoryStore final : public SettingsStore {
 public:
  std::map<std::string, std::string> values;  // "Section/Key" → value
  std::vector<std::string> log;               // "get Section/Key", "set Section/Key=value"

  std::string GetSetting(std::string_view, std::string_view section, std::string_view key,
                         std::string_view defaultValue) override {
    const std::string path = std::string(section) + "/" + std::string(key);
    log.push_back("get " + path);
    const auto found = values.find(path);
    return found == values.end() ? std::string(defaultValue) : found->second;
  }
  void SaveSetting(std::string_view, std::string_view section, std::string_view key,
                   std::string_view value) override {
    const std::string path = std::string(section) + "/" + std::string(key);
    log.push_back("set " + path + "=" + std::string(value));
    values[path] = std::string(value);
  }
};

}  // namespace skyfare::testing
