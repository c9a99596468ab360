#pragma once

#include "assets/airliner_look.h"

#include <QPainter>
#include <QPolygonF>

namespace skyfare::assets {

// Paints the airline's mark on a tail fin (outline in a nose-right picture), kept inside it.
void paintTailMark(QPainter& painter, const QPolygonF& fin, TailMark mark, QRgb colour);

}  // namespace skyfare::assets
