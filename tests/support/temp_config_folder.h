#pragma once

#include <QByteArray>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>
#include <optional>

namespace skyfare::testing {

// Points XDG_CONFIG_HOME at an empty folder of its own for the life of the object, so every
// test starts from a fresh settings store.
class TempConfigFolder {
 public:
  TempConfigFolder() {
    if (const char* old = std::getenv("XDG_CONFIG_HOME"))
      previous_ = QByteArray(old);
    setenv("XDG_CONFIG_HOME", dir_.path().toUtf8().constData(), 1);
  }
  ~TempConfigFolder() {
    if (previous_) {
      setenv("XDG_CONFIG_HOME", previous_->constData(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
  }
  TempConfigFolder(const TempConfigFolder&) = delete;
  TempConfigFolder& operator=(const TempConfigFolder&) = delete;

  QString path() const { return dir_.path(); }
  QString iniPath() const { return dir_.path() + QStringLiteral("/Airlume/Airlume.ini"); }

 private:
  QTemporaryDir dir_;
  std::optional<QByteArray> previous_;
};

}  // namespace skyfare::testing
