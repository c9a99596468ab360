#include "settings/qsettings_store.h"

#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>

#include "files/regular_file.h"
#include "settings/config_folder.h"
#include "settings/dead_writer.h"
#include "settings/folder_changes.h"
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

// Why a file of the given size cannot be written into the folder, as far as the file system
// tells; empty when it does not. A new version is written beside the old one before it
// replaces it, so it needs room for a whole file.
std::string writeObstacle(const QByteArray& folder, off_t fileBytes) {
  struct statvfs volume {};
  if (::statvfs(folder.constData(), &volume) == 0) {
    if ((volume.f_flag & ST_RDONLY) != 0)
      return "the file system is read-only";
    const auto freeBytes = static_cast<unsigned long long>(volume.f_bavail) * volume.f_frsize;
    if (volume.f_favail == 0 ||
        freeBytes <
            static_cast<unsigned long long>(std::max<off_t>(fileBytes, 0)) + volume.f_frsize)
      return "the disk is full";
  }
  if (::access(folder.constData(), W_OK) != 0)
    return std::strerror(errno);
  return {};
}

}  // namespace

struct QSettingsStore::OpenFile {
  explicit OpenFile(std::string_view applicationName);

  // Parses the file again when its stamp says it changed since the last look. A damaged file
  // leaves `settings` null.
  void parseIfChanged();
  // Moves a damaged file out of the way under a time-stamped name, so that the next write
  // starts a new file and nothing the user had is lost. Returns why it could not be moved,
  // empty when it was; a file that cannot be moved is left as it is.
  std::string setDamagedFileAside();
  void tellDamagedOnRead();
  // QSettings keeps the first error it meets for good, so after one the next write could not
  // tell its own outcome: a fresh object takes over, with the values not yet written.
  void renewSettings();

  std::string application;
  QString path;
  QByteArray nativePath;
  std::unique_ptr<QSettings> settings;   // null while the file on disk is damaged
  std::optional<FileStamp> parsedStamp;  // the file's stamp when it was last parsed
  // Followed from before each look at the file, so that reads between two changes need none.
  FolderChanges folderChanges;
  bool lookedSinceOwnWrite = false;
  bool damageTold = false;
  std::optional<WriteFailure> toldWriteFailure;  // until a write succeeds
  bool leftoversCleared = false;
};

QSettingsStore::OpenFile::OpenFile(std::string_view applicationName)
    : application(applicationName),
      path(filePath(applicationName)),
      nativePath(QFile::encodeName(path)) {}

void QSettingsStore::OpenFile::parseIfChanged() {
  // The saver reads a few settings every frame: most reads find the folder quiet.
  if (!folderChanges.changedSinceLastLook() && lookedSinceOwnWrite)
    return;
  folderChanges.follow(QFile::encodeName(QFileInfo(path).absolutePath()));
  lookedSinceOwnWrite = true;
  const FileStamp stamp = stampOf(nativePath);
  if (parsedStamp == stamp)
    return;
  parsedStamp = stamp;
  const StoreText text = stamp.exists ? textOnDisk(nativePath) : StoreText::Usable;
  if (text == StoreText::ByteOrderMark) {
    const QString problem = dropByteOrderMark(path);
    if (problem.isEmpty()) {
      parsedStamp = stampOf(nativePath);
    } else if (!damageTold) {
      // The file then reads as damaged; this says why.
      std::fprintf(stderr,
                   "skyfare: settings file %s begins with a byte-order mark that could not be "
                   "removed (%s); using defaults, and it is kept aside before the first change\n",
                   qPrintable(path), qPrintable(problem));
      damageTold = true;
    }
  }
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
}

std::string QSettingsStore::OpenFile::setDamagedFileAside() {
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
    damageTold = true;
    return std::string("the file there could not be read nor set aside (") + std::strerror(error) +
           "), so it is left as it is";
  }
  if (!damageTold) {
    std::fprintf(stderr, "skyfare: settings file %s could not be read; kept as %s\n",
                 qPrintable(path), qPrintable(aside));
  }
  damageTold = true;
  settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
  return {};
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

void QSettingsStore::OpenFile::renewSettings() {
  QHash<QString, QVariant> unsaved;
  for (const QString& key : settings->allKeys()) unsaved.insert(key, settings->value(key));
  settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
  for (auto value = unsaved.cbegin(); value != unsaved.cend(); ++value) {
    if (settings->value(value.key()) != value.value())
      settings->setValue(value.key(), value.value());
  }
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
  if (!f.settings) {
    if (std::string whyNot = f.setDamagedFileAside(); !whyNot.empty()) {
      tellWriteFailure(f, {f.path.toStdString(), std::move(whyNot)});
      return;
    }
  }
  if (f.settings->status() != QSettings::NoError)
    f.renewSettings();
  const QString folder = QFileInfo(f.path).absolutePath();
  const bool folderMade = QDir().mkpath(folder);
  for (const SettingWrite& write : writes)
    f.settings->setValue(keyPath(write.section, write.key), toQString(write.value));
  if (!f.leftoversCleared) {
    removeLeftoverTemporaries(f.path);
    f.leftoversCleared = true;
  }
  clearDeadLock(f.path);
  f.settings->sync();
  f.parsedStamp = FileStamp{};  // our own write changed the file
  f.lookedSinceOwnWrite = false;
  if (f.settings->status() == QSettings::NoError) {
    f.toldWriteFailure.reset();
    return;
  }
  const std::string cause =
      folderMade ? writeObstacle(QFile::encodeName(folder), stampOf(f.nativePath).size)
                 : "the folder " + folder.toStdString() + " cannot be created";
  tellWriteFailure(f, {f.path.toStdString(), cause});
}

void QSettingsStore::setWriteFailureListener(WriteFailureListener listener) {
  writeFailureListener_ = std::move(listener);
}

void QSettingsStore::tellWriteFailure(OpenFile& file, WriteFailure failure) {
  if (file.toldWriteFailure == failure)
    return;
  if (failure.cause.empty()) {
    std::fprintf(stderr, "skyfare: could not write settings file %s\n", failure.file.c_str());
  } else {
    std::fprintf(stderr, "skyfare: could not write settings file %s: %s\n", failure.file.c_str(),
                 failure.cause.c_str());
  }
  file.toldWriteFailure = failure;
  if (writeFailureListener_)
    writeFailureListener_(failure);
}

}  // namespace skyfare
