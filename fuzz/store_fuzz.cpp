// The settings store reading any file through the real QSettings back end: every key reads,
// a write succeeds, and a file the store cannot keep is set aside, never lost.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "settings/qsettings_store.h"

namespace {

QTemporaryDir& configFolder() {
  static QTemporaryDir folder;
  return folder;
}

constexpr const char* kKeys[][2] = {{"Startup", "BackGround"}, {"Startup", "BMPFileName"},
                                    {"Startup", "Message"},    {"Startup", "FontName"},
                                    {"Startup", "Speed"},      {"System", "SoundOff"},
                                    {"System", "SetReg"}};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("XDG_CONFIG_HOME", configFolder().path().toUtf8().constData(), 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString folder = configFolder().path() + QStringLiteral("/Airlume");
  QDir().mkpath(folder);
  const QString path = skyfare::QSettingsStore::filePath("Airlume");
  {
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  {
    skyfare::QSettingsStore store;
    for (const auto& key : kKeys) store.GetSetting("Airlume", key[0], key[1], "default");
    store.SaveSetting("Airlume", "Startup", "Speed", "7");
    if (store.GetSetting("Airlume", "Startup", "Speed", "") != "7")
      __builtin_trap();
  }
  QDir(folder).removeRecursively();
  return 0;
}
