#pragma once

#include <QImage>
#include <QRegion>

namespace skyfare {

// The part of a picture that can show when it is drawn, in the picture's pixels: for each band
// of kCoverageBandRows rows, the columns whose pixels are not wholly transparent, widened by
// one pixel on every side for the spread of smooth scaling, and cut to the picture. An opaque
// picture covers all of itself; a null one nothing. Moving a sprite changes the screen only inside
// this part at its old and its new place, which for aircraft with clear corners is about half their
// rectangle.
QRegion pictureCoverage(const QImage& picture);

// Few enough rectangles that painting them one by one costs less than the pixels they save.
inline constexpr int kCoverageBandRows = 16;

}  // namespace skyfare
