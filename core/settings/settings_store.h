#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace skyfare {

// A change that did not reach the disk: the file it was meant for and, when the store can tell,
// why ("the disk is full"); the cause is empty when it cannot.
struct WriteFailure {
  std::string file;
  std::string cause;
  bool operator==(const WriteFailure&) const = default;
};

using WriteFailureListener = std::function<void(const WriteFailure& failure)>;

struct SettingWrite {
  std::string_view section;
  std::string_view key;
  std::string_view value;
};

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
  // Several values of one application, all on disk before the call returns. A store that can
  // write them in one go does, so that a crash leaves all of them or none.
  virtual void SaveSettings(std::string_view application, std::span<const SettingWrite> writes) {
    for (const SettingWrite& write : writes)
      SaveSetting(application, write.section, write.key, write.value);
  }
  // Told once for each failure, not for every write it spoils: when a write fails after one
  // that succeeded, or fails for another reason than the last one did. A store whose writes
  // cannot fail never calls it.
  virtual void setWriteFailureListener(WriteFailureListener /*listener*/) {}
};

}  // namespace skyfare
