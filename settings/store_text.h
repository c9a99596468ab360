#pragma once

#include <QByteArray>
#include <QString>

namespace skyfare {

enum class StoreText {
  Usable,         // UTF-8 text, as the store reads and writes it
  ByteOrderMark,  // UTF-8 text behind a byte-order mark, which the INI reader rejects
  NotUtf8,        // other bytes: a rewrite would replace them, so the file is set aside
  Unreadable,     // not a regular file, too large, or not readable whole
};

StoreText storeTextOf(const QByteArray& content);

// Rewrites the settings file without its leading byte-order mark, under the store's own lock
// and through a temporary file, so a reader or a crash never sees half of it. Returns why the
// file could not be rewritten, empty when it was.
QString dropByteOrderMark(const QString& settingsPath);

}  // namespace skyfare
