#pragma once

#include <QSettings>
#include <QString>
#include <memory>

#include "core/settings/settings_store.h"

namespace skyfare {

// The settings store as an INI file, `<config folder>/<application>/<application>.ini`, where
// the config folder honours XDG_CONFIG_HOME. Every write is synced (written through a temporary
// file and renamed, so a crash mid-write leaves the old file whole). A read checks the file's
// size and time first and parses it again only when another process changed it. A file that
// does not parse, or is absurdly large, reads as empty and is set aside under a time-stamped
// name before the first write, so nothing the user had is destroyed; when it cannot be moved,
// it is left as it is and changes are not saved. Each kind of failure is told once on stderr;
// a write that fails is told once on stderr and to the listener, and so is the next failure
// after a write that succeeded. Values that could not be written are kept, so the next write
// that succeeds saves them too.
class QSettingsStore final : public SettingsStore {
 public:
  QSettingsStore();
  ~QSettingsStore() override;

  std::string GetSetting(std::string_view application, std::string_view section,
                         std::string_view key, std::string_view defaultValue) override;
  void SaveSetting(std::string_view application, std::string_view section, std::string_view key,
                   std::string_view value) override;
  // Writes the file once for all of them.
  void SaveSettings(std::string_view application, std::span<const SettingWrite> writes) override;
  void setWriteFailureListener(WriteFailureListener listener) override;

  // The file that holds the given application's settings.
  static QString filePath(std::string_view application);

 private:
  struct OpenFile;
  // The given application's file, parsed again when another writer changed it.
  OpenFile& fileFor(std::string_view application);
  void tellWriteFailure(OpenFile& file, WriteFailure failure);

  std::unique_ptr<OpenFile> file_;
  WriteFailureListener writeFailureListener_;
};

}  // namespace skyfare
