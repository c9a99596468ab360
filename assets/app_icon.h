#pragma once

#include <QDir>
#include <QImage>
#include <QString>
#include <span>

namespace skyfare::assets {

// The program's desktop icon: an airliner of the fleet climbing over the city at night, on a
// rounded plate. Composed afresh at each size, so no size is a blurred copy of another.
QImage drawAppIcon(int sizePx);

// Writes `<theme folder>/<N>x<N>/apps/<icon name>.png` for each size N; reports each file it
// cannot write on standard error and returns whether all were written.
bool writeAppIcons(const QDir& themeFolder, const QString& iconName, std::span<const int> sizesPx);

}  // namespace skyfare::assets
