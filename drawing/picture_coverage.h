#pragma once

#include <QImage>
#include <QRegion>

namespace skyfare {

// raster/picture_coverage.h's coverage of a Qt picture, as a region of its pixels: where the
// picture can show when it is drawn. A picture without an alpha channel covers all of itself; a
// null one nothing.
QRegion pictureCoverage(const QImage& picture);

}  // namespace skyfare
