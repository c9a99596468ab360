#pragma once

#include <string>
#include <string_view>

namespace skyfare {

// The per-user store of named strings. A value is addressed by application, section and key;
// a missing key reads as the default the caller passes. Every write is on disk before the call
// returns, and a read sees what another process wrote before it.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  virtual std::string GetSetting(std::string_view application, std::string_view section,
                                 std::string_view key, std::string_view defaultValue) = 0;
  virtual void SaveSetting(std::string_view application, std::string_view section,
                           std::string_view key, std::string_view value) = 0;
};

}  // namespace skyfare
