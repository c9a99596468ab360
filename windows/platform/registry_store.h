#pragma once

#include <optional>
#include <string>

#include "core/settings/settings_store.h"

namespace skyfare {

// The settings store in the current user's registry, one key per application and section:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, one REG_SZ
// value (UTF-16) per setting. The registry itself makes a write visible to every process at
// once, so nothing is cached. A value that is not a proper REG_SZ (another type, no terminator,
// an odd byte count, or larger than any setting of this program) reads as missing and is left
// as it is; a read never creates, changes or deletes anything. A write that fails is told once
// as a debug line and to the listener, and so is the next failure after a write that
// succeeded; a value too long to be read back is not written and counts as a failed write.
class RegistryStore final : public SettingsStore {
 public:
  std::string GetSetting(std::string_view application, std::string_view section,
                         std::string_view key, std::string_view defaultValue) override;
  void SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                   std::string_view value) override;
  // Writes in order and stops at the first failure, so a marker written last (SetReg) is never
  // stored after a value before it was lost.
  void SaveSettings(std::string_view application, std::span<const SettingWrite> writes) override;
  void setWriteFailureListener(WriteFailureListener listener) override;

  // The key below HKEY_CURRENT_USER that holds one section of an application.
  static std::wstring sectionKeyPath(std::string_view application, std::string_view section);
  // The largest value a read accepts, in bytes of UTF-16 with its terminator.
  static constexpr unsigned long kLargestValueBytes = 1u << 20;

 private:
  // Returns whether the write reached the registry; a failure has been told.
  bool write(std::string_view application, const SettingWrite& write);
  void tellWriteFailure(WriteFailure failure);

  WriteFailureListener writeFailureListener_;
  std::optional<WriteFailure> toldWriteFailure_;  // until a write succeeds
};

}  // namespace skyfare
