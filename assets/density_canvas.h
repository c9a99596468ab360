#pragma once

#include <QImage>
#include <QPainter>
#include <QSize>

namespace skyfare::assets {

// Every picture is drawn in its 1× pixel units. At a density d it has d times as many pixels
// along each side, rounded to whole pixels the way the screen rounds a scaled sprite, so the
// same drawing code makes the picture for any density.
QSize sizeAtDensity(QSize logicalSize, double density);

// A canvas of the picture at the density, not yet filled.
QImage densityCanvas(QSize logicalSize, double density, QImage::Format format);

// Makes the painter on a density canvas draw in 1× units.
void drawInLogicalUnits(QPainter& painter, QSize logicalSize);

}  // namespace skyfare::assets
