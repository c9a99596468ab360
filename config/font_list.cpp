#include "config/font_list.h"

#include <algorithm>

namespace skyfare {

QStringList fontListEntries(const QStringList& reported) {
  QStringList entries = reported.mid(0, kFontListLength);
  std::stable_sort(entries.begin(), entries.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  return entries;
}

}  // namespace skyfare
