#pragma once

#include <QStringList>

namespace skyfare {

inline constexpr qsizetype kFontListLength = 40;

// The entries of the font list: the first 40 families in the order the platform reports them,
// then sorted alphabetically without regard to letter case (ties keep the reported order).
// Stored list positions refer to this sorted order.
QStringList fontListEntries(const QStringList& reported);

}  // namespace skyfare
