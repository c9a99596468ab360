#include "settings/store_text.h"

#include <QFile>
#include <QLockFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace skyfare {
namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr int kLockWaitMs = 1000;

}  // namespace

StoreText storeTextOf(const QByteArray& content) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  [[maybe_unused]] const QString decoded = utf8.decode(content);
  if (utf8.hasError())
    return StoreText::NotUtf8;
  return content.startsWith(kByteOrderMark) ? StoreText::ByteOrderMark : StoreText::Usable;
}

QString dropByteOrderMark(const QString& settingsPath) {
  QLockFile lock(settingsPath + QStringLiteral(".lock"));
  if (!lock.tryLock(kLockWaitMs))
    return QStringLiteral("its lock %1 could not be taken").arg(lock.fileName());
  QFile current(settingsPath);
  if (!current.open(QIODevice::ReadOnly))
    return current.errorString();
  const QByteArray content = current.readAll();
  current.close();
  if (!content.startsWith(kByteOrderMark))
    return {};
  QSaveFile rewritten(settingsPath);
  const QByteArray text = content.mid(static_cast<qsizetype>(sizeof kByteOrderMark - 1));
  if (!rewritten.open(QIODevice::WriteOnly) || rewritten.write(text) != text.size() ||
      !rewritten.commit())
    return rewritten.errorString();
  return {};
}

}  // namespace skyfare
