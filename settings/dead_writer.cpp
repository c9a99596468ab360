#include "settings/dead_writer.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>

namespace skyfare {
namespace {

// QLockFile removes a stale lock only when no process holds it, so a short age is safe; it is
// not shorter because file times are coarser than a millisecond.
constexpr int kDeadLockAgeMs = 100;
// A write lasts milliseconds; a temporary file this old belongs to nobody.
constexpr qint64 kLeftoverAgeSeconds = 60;

}  // namespace

bool lockTakingOverDeadOne(QLockFile& lock) {
  lock.setStaleLockTime(kDeadLockAgeMs);
  // Long enough for a lock that has just been left behind to count as dead.
  return lock.tryLock(2 * kDeadLockAgeMs);
}

void clearDeadLock(const QString& settingsPath) {
  const QString lockPath = settingsPath + QStringLiteral(".lock");
  if (!QFileInfo::exists(lockPath))
    return;
  QLockFile probe(lockPath);
  if (lockTakingOverDeadOne(probe))
    probe.unlock();
}

void removeLeftoverTemporaries(const QString& settingsPath) {
  const QFileInfo settings(settingsPath);
  const QRegularExpression temporaryName(
      QStringLiteral("^%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(settings.fileName())));
  const QDateTime oldest = QDateTime::currentDateTime().addSecs(-kLeftoverAgeSeconds);
  const QFileInfoList candidates = settings.dir().entryInfoList(
      {settings.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
  for (const QFileInfo& file : candidates) {
    if (temporaryName.match(file.fileName()).hasMatch() && file.lastModified() < oldest)
      QFile::remove(file.absoluteFilePath());
  }
}

}  // namespace skyfare
