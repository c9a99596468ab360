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

bool dropByteOrderMark(const QString& settingsPath) {
  QLockFile lock(settingsPath + QStringLiteral(".lock"));
  if (!lock.tryLock(kLockWaitMs))
    return false;
  QFile current(settingsPath);
  if (!current.open(QIODevice::ReadOnly))
    return false;
  const QByteArray content = current.readAll();
  current.close();
  if (!content.startsWith(kByteOrderMark))
    return true;
  QSaveFile rewritten(settingsPath);
  if (!rewritten.open(QIODevice::WriteOnly))
    return false;
  const QByteArray text = content.mid(static_cast<qsizetype>(sizeof kByteOrderMark - 1));
  return rewritten.write(text) == text.size() && rewritten.commit();
}

}  // namespace skyfare
