#pragma once

#include <QPainter>
#include <QRgb>

namespace skyfare::assets {

// An engine pod seen from the side, inlet to the right: `centre` is its middle, `halfLengthPx`
// half its length, `radiusPx` half its height at the inlet.
void paintNacelle(QPainter& painter, QPointF centre, double halfLengthPx, double radiusPx,
                  QRgb colour);

}  // namespace skyfare::assets
