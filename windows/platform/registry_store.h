#pragma once

#include "windows/platform/win32_api.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "core/settings/settings_store.h"

namespace skyfare {

// The settings store in the current user's registry, one key per application and section:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, one REG_SZ
// value (UTF-16) per setting. The registry itself makes a write visible to every process at
// once, so no value is cached: every read asks the registry, through the section's key kept
// open from the first read (opened again when it was deleted meanwhile), so that a setting read
// every frame costs one query; a store that follows changes (followChanges) asks only again
// after a change. A value that is not a proper REG_SZ (another type, no terminator,
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

  // From now on a read of a value read before gives what was read then, until takeChanges:
  // whoever calls this waits on the event it returns, which is set when anything below the
  // settings root changes, and calls takeChanges then. Null, and every read keeps asking the
  // registry, when the root cannot be watched.
  HANDLE followChanges();
  // The event was set: the next reads ask the registry, and the next change sets it again.
  void takeChanges();

  // The key below HKEY_CURRENT_USER that holds one section of an application.
  static std::wstring sectionKeyPath(std::string_view application, std::string_view section);
  // The largest value a read accepts, in bytes of UTF-16 with its terminator.
  static constexpr unsigned long kLargestValueBytes = 1u << 20;

 private:
  // Returns whether the write reached the registry; a failure has been told.
  bool write(std::string_view application, const SettingWrite& write);
  void tellWriteFailure(WriteFailure failure);
  // The section's open key, or null when it does not exist.
  HKEY sectionKey(const std::wstring& path);

  struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
  };
  using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

  bool watchChanges();

  struct HandleCloser {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
  };

  std::map<std::wstring, UniqueKey> openSections_;
  UniqueKey watchedRoot_;
  std::unique_ptr<void, HandleCloser> changed_;
  // What was read since the last change, by section path and key; while no change is followed,
  // nothing.
  std::map<std::pair<std::wstring, std::wstring>, std::optional<std::wstring>> remembered_;
  std::vector<wchar_t> readBuffer_;  // kept between reads, so a short value costs no allocation

  WriteFailureListener writeFailureListener_;
  std::optional<WriteFailure> toldWriteFailure_;  // until a write succeeds
};

}  // namespace skyfare
