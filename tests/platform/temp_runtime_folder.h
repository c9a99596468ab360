#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <cstdlib>
#include <optional>

namespace skyfare::testing {

// Points XDG_RUNTIME_DIR at an empty private folder for the life of the object.
class TempRuntimeFolder {
 public:
  TempRuntimeFolder() {
    if (const char* old = std::getenv("XDG_RUNTIME_DIR"))
      previous_ = QByteArray(old);
    setenv("XDG_RUNTIME_DIR", folder_.path().toUtf8().constData(), 1);
  }
  ~TempRuntimeFolder() {
    if (previous_) {
      setenv("XDG_RUNTIME_DIR", previous_->constData(), 1);
    } else {
      unsetenv("XDG_RUNTIME_DIR");
    }
  }
  TempRuntimeFolder(const TempRuntimeFolder&) = delete;
  TempRuntimeFolder& operator=(const TempRuntimeFolder&) = delete;

  QString path() const { return folder_.path(); }

 private:
  QTemporaryDir folder_;
  std::optional<QByteArray> previous_;
};

}  // namespace skyfare::testing
