#include "settings/qsettings_store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>

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

}  // namespace

struct QSettingsStore::OpenFile {
  std::string application;
  QString path;
  std::unique_ptr<QSettings> settings;  // null while the file on disk is unusable
  bool unusable = false;
  bool warned = false;
};

QSettingsStore::QSettingsStore() = default;
QSettingsStore::~QSettingsStore() = default;

QString QSettingsStore::filePath(std::string_view application) {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  const QString name = toQString(application);
  return folder + QLatin1Char('/') + name + QLatin1Char('/') + name + QStringLiteral(".ini");
}

QSettingsStore::OpenFile* QSettingsStore::fileFor(std::string_view application, bool forWriting) {
  if (!file_ || file_->application != application) {
    file_ = std::make_unique<OpenFile>();
    file_->application = std::string(application);
    file_->path = filePath(application);
  }
  OpenFile& f = *file_;

  const QFileInfo info(f.path);
  if (info.exists() && info.size() > kLargestReadableFileBytes) {
    f.settings.reset();
    f.unusable = true;
  } else if (!f.settings) {
    f.settings = std::make_unique<QSettings>(f.path, QSettings::IniFormat);
    f.unusable = false;
  } else {
    f.settings->sync();  // re-reads only when the file's size or time changed
  }
  if (f.settings && f.settings->status() == QSettings::FormatError)
    f.unusable = true;

  if (f.unusable && forWriting) {
    // Keep the damaged file for the user, then start a new one.
    const QString aside =
        f.path + QStringLiteral(".damaged-") +
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
    f.settings.reset();
    if (QFile::rename(f.path, aside)) {
      std::fprintf(stderr, "skyfare: settings file %s could not be read; kept as %s\n",
                   qPrintable(f.path), qPrintable(aside));
    }
    f.settings = std::make_unique<QSettings>(f.path, QSettings::IniFormat);
    f.unusable = false;
  } else if (f.unusable && !f.warned) {
    std::fprintf(stderr, "skyfare: settings file %s could not be read; using defaults\n",
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
  f->settings->sync();
  if (f->settings->status() != QSettings::NoError && !f->warned) {
    std::fprintf(stderr, "skyfare: could not write settings file %s\n", qPrintable(f->path));
    f->warned = true;
  }
}

}  // namespace skyfare
