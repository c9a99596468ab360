#include "settings/qsettings_store.h"

#include <sys/stat.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>

#include "controls/regular_file.h"
#include "settings/config_folder.h"
#include "settings/dead_writer.h"
#include "settings/store_text.h"

namespace skyfare {
namespace {

// No settings file of this program comes near this; a larger one is not read at all.
constexpr qint64 kLargestReadableFileBytes = 1 << 20;

QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString keyPath(std::string_view section, std::string_view key) {
  return toQString(section) + QLatin1Char('/') + toQString(key);
}

// What the file holds, read only when it is a regular file of sane size: a file that would
// block is not read at all.
StoreText textOnDisk(const QByteArray& nativePath) {
  RegularFile file(nativePath.toStdString());
  const auto content = file.readAll(kLargestReadableFileBytes);
  if (!content)
    return StoreText::Unreadable;
  return storeTextOf(QByteArray(reinterpret_cast<const char*>(content->data()),
                                static_cast<qsizetype>(content->size())));
}

// What tells one version of the file from the next, read with a plain stat: this is asked
// before every read, three times a frame while the saver runs.
struct FileStamp {
  bool exists = false;
  off_t size = -1;
  std::int64_t modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const QByteArray& path) {
  struct stat info {};
  if (::stat(path.constData(), &info) != 0)
    return {};
  return {true, info.st_size,
          static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}
}  // namespace

struct QSettingsStore::OpenFile {
  explicit OpenFile(std::string_view applicationName);

  // Parses the file again when its stamp says it changed since the last look. A damaged file
  // leaves `settings` null.
  void parseIfChanged();
  // Moves a damaged file out of the way under a time-stamped name, so that the next write
  // starts a new file and nothing the user had is lost. False when it could not be moved: it
  // is then left as it is.
  bool setDamagedFileAside();
  void tellDamagedOnRead();
  void tellWriteFailed();

  std::string application;
  QString path;
  QByteArray nativePath;
  std::unique_ptr<QSettings> settings;   // null while the file on disk is damaged
  std::optional<FileStamp> parsedStamp;  // the file's stamp when it was last parsed
  bool damageTold = false;
  bool asideFailureTold = false;
  bool writeFailureTold = false;
  bool leftoversCleared = false;
};

QSettingsStore::OpenFile::OpenFile(std::string_view applicationName)
    : application(applicationName),
      path(filePath(applicationName)),
      nativePath(QFile::encodeName(path)) {}

void QSettingsStore::OpenFile::parseIfChanged() {
  const FileStamp stamp = stampOf(nativePath);
  if (parsedStamp == stamp)
    return;
  parsedStamp = stamp;
  const StoreText text = stamp.exists ? textOnDisk(nativePath) : StoreText::Usable;
  if (text == StoreText::ByteOrderMark && dropByteOrderMark(path))
    parsedStamp = stampOf(nativePath);
  if (text == StoreText::NotUtf8 || text == StoreText::Unreadable) {
    settings.reset();
    return;
  }
  if (settings) {
    settings->sync();
  } else {
    settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
  }
  // QSettings parses sections lazily; reading every key brings a damaged one to light.
  settings->allKeys();
  if (settings->status() == QSettings::FormatError) {
    settings.reset();
    return;
  }
  // A sound file ends what was told about an earlier damaged one.
  damageTold = false;
  asideFailureTold = false;
}

bool QSettingsStore::OpenFile::setDamagedFileAside() {
  const QString aside =
      path + QStringLiteral(".damaged-") +
      QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
  const QByteArray nativeAside = QFile::encodeName(aside);
  struct stat existing {};
  int error = 0;
  if (::lstat(nativeAside.constData(), &existing) == 0) {
    error = EEXIST;  // rename() would replace it
  } else if (::rename(nativePath.constData(), nativeAside.constData()) != 0) {
    error = errno;
  }
  if (error != 0) {
    if (!asideFailureTold) {
      std::fprintf(stderr,
                   "skyfare: settings file %s could not be read nor set aside as %s (%s); it is "
                   "left as it is, and changes are not saved\n",
                   qPrintable(path), qPrintable(aside), std::strerror(error));
    }
    asideFailureTold = true;
    damageTold = true;
    return false;
  }
  if (!damageTold) {
    std::fprintf(stderr, "skyfare: settings file %s could not be read; kept as %s\n",
                 qPrintable(path), qPrintable(aside));
  }
  damageTold = true;
  settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
  return true;
}

void QSettingsStore::OpenFile::tellDamagedOnRead() {
  if (damageTold)
    return;
  std::fprintf(stderr,
               "skyfare: settings file %s could not be read; using defaults, and it is kept "
               "aside before the first change\n",
               qPrintable(path));
  damageTold = true;
}

void QSettingsStore::OpenFile::tellWriteFailed() {
  if (writeFailureTold)
    return;
  std::fprintf(stderr, "skyfare: could not write settings file %s\n", qPrintable(path));
  writeFailureTold = true;
}

QSettingsStore::QSettingsStore() = default;
QSettingsStore::~QSettingsStore() = default;

QString QSettingsStore::filePath(std::string_view application) {
  const QString folder = userConfigFolder();
  const QString name = toQString(application);
  return folder + QLatin1Char('/') + name + QLatin1Char('/') + name + QStringLiteral(".ini");
}

QSettingsStore::OpenFile& QSettingsStore::fileFor(std::string_view application) {
  if (!file_ || file_->application != application)
    file_ = std::make_unique<OpenFile>(application);
  file_->parseIfChanged();
  return *file_;
}

std::string QSettingsStore::GetSetting(std::string_view application, std::string_view section,
                                       std::string_view key, std::string_view defaultValue) {
  OpenFile& f = fileFor(application);
  if (!f.settings) {
    f.tellDamagedOnRead();
    return std::string(defaultValue);
  }
  const QVariant value = f.settings->value(keyPath(section, key));
  if (!value.isValid())
    return std::string(defaultValue);
  return value.toString().toStdString();
}

void QSettingsStore::SaveSetting(std::string_view application, std::string_view section,
                                 std::string_view key, std::string_view value) {
  const SettingWrite write{section, key, value};
  SaveSettings(application, {&write, 1});
}

void QSettingsStore::SaveSettings(std::string_view application,
                                  std::span<const SettingWrite> writes) {
  OpenFile& f = fileFor(application);
  // QSettings would write what it made of a damaged file back over it.
  if (!f.settings && !f.setDamagedFileAside())
    return;
  QDir().mkpath(QFileInfo(f.path).absolutePath());
  for (const SettingWrite& write : writes)
    f.settings->setValue(keyPath(write.section, write.key), toQString(write.value));
  if (!f.leftoversCleared) {
    removeLeftoverTemporaries(f.path);
    f.leftoversCleared = true;
  }
  clearDeadLock(f.path);
  f.settings->sync();
  f.parsedStamp = FileStamp{};  // our own write changed the file
  if (f.settings->status() != QSettings::NoError)
    f.tellWriteFailed();
}

}  // namespace skyfare
