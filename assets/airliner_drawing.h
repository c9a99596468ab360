#pragma once

#include "assets/airliner_look.h"

#include <QImage>

namespace skyfare::assets {

// An airliner seen from the side and a little from below, exactly look.widthPx wide at 1×, nose
// towards look.facing, transparent around it.
QImage drawAirliner(const AirlinerLook& look, double density = 1.0);

}  // namespace skyfare::assets
