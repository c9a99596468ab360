#include "settings/qsettings_store.h"

#include <sys/stat.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

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

}  // namespace

namespace {
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
  std::string application;
  QString path;
  QByteArray nativePath;
  std::unique_ptr<QSettings> settings;  // null while the file on disk is unusable
  FileStamp stamp;
  bool unusable = false;
  bool warned = false;
  bool leftoversCleared = false;
};

QSettingsStore::QSettingsStore() = default;
QSettingsStore::~QSettingsStore() = default;

QString QSettingsStore::filePath(std::string_view application) {
  const QString folder = userConfigFolder();
  const QString name = toQString(application);
  return folder + QLatin1Char('/') + name + QLatin1Char('/') + name + QStringLiteral(".ini");
}

QSettingsStore::OpenFile* QSettingsStore::fileFor(std::string_view application, bool forWriting) {
  if (!file_ || file_->application != application) {
    file_ = std::make_unique<OpenFile>();
    file_->application = std::string(application);
    file_->path = filePath(application);
    file_->nativePath = QFile::encodeName(file_->path);
  }
  OpenFile& f = *file_;

  // Parse again only when the file on disk changed since we last looked.
  const FileStamp stamp = stampOf(f.nativePath);
  if (!f.settings || stamp != f.stamp) {
    f.stamp = stamp;
    const StoreText text = stamp.exists ? textOnDisk(f.nativePath) : StoreText::Usable;
    if (text == StoreText::ByteOrderMark && dropByteOrderMark(f.path))
      f.stamp = stampOf(f.nativePath);
    if (text == StoreText::NotUtf8 || text == StoreText::Unreadable) {
      f.settings.reset();
      f.unusable = true;
    } else {
      if (f.settings) {
        f.settings->sync();
      } else {
        f.settings = std::make_unique<QSettings>(f.path, QSettings::IniFormat);
      }
      // QSettings parses sections lazily; reading every key brings a damaged one to light.
      f.settings->allKeys();
      f.unusable = f.settings->status() == QSettings::FormatError;
    }
  }

  if (f.unusable && forWriting) {
    // QSettings would write what it made of the damaged file back; keep the file for the user
    // and start a new one.
    const QString aside =
        f.path + QStringLiteral(".damaged-") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
    f.settings.reset();
    if (QFile::rename(f.path, aside) && !f.warned) {
      std::fprintf(stderr, "skyfare: settings file %s could not be read; kept as %s\n",
                   qPrintable(f.path), qPrintable(aside));
    }
    f.settings = std::make_unique<QSettings>(f.path, QSettings::IniFormat);
    f.unusable = false;
    f.warned = true;
  } else if (f.unusable && !f.warned) {
    std::fprintf(stderr,
                 "skyfare: settings file %s could not be read; using defaults, and it is kept "
                 "aside before the first change\n",
                 qPrintable(f.path));
    f.warned = true;
  }
  return &f;
}

std::string QSettingsStore::GetSetting(std::string_view application, std::string_view section,
                                       std::string_view key, std::string_view defaultValue) {
  OpenFile* f = fileFor(application, false);
  if (f->unusable || !f->settings)
    return std::string(defaultValue);
  const QVariant value = f->settings->value(keyPath(section, key));
  if (!value.isValid())
    return std::string(defaultValue);
  return value.toString().toStdString();
}

void QSettingsStore::SaveSetting(std::string_view application, std::string_view section,
                                 std::string_view key, std::string_view value) {
  OpenFile* f = fileFor(application, true);
  if (!f->settings)
    return;
  QDir().mkpath(QFileInfo(f->path).absolutePath());
  f->settings->setValue(keyPath(section, key), toQString(value));
  if (!f->leftoversCleared) {
    removeLeftoverTemporaries(f->path);
    f->leftoversCleared = true;
  }
  clearDeadLock(f->path);
  f->settings->sync();
  f->stamp = {};  // our own write changed the file
  if (f->settings->status() != QSettings::NoError && !f->warned) {
    std::fprintf(stderr, "skyfare: could not write settings file %s\n", qPrintable(f->path));
    f->warned = true;
  }
}

}  // namespace skyfare
