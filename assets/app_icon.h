#pragma once

#include <QDir>
#include <QImage>
#include <QString>
#include <span>

namespace skyfare::assets {

// The program's desktop icon: an airliner of the fleet climbing over the city at night, on a
// rounded plate. Drawn afresh at each size so small icons stay sharp.
QImage drawAppIcon(int sizePx);

// Writes `<theme folder>/<N>x<N>/apps/<icon name>.png` for each size N; reports each file it
// cannot write on standard error and returns whether all were written.
bool writeAppIcons(const QDir& themeFolder, const QString& iconName, std::span<const int> sizesPx);

}  // namespace skyfare::assets
