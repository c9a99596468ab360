#pragma once

#include "raster/bgra_picture.h"

namespace skyfare {

// Makes a decoded picture (straight, not premultiplied, alpha) ready to draw for a
// TransparentMode. kTransparentBackground uses the picture's alpha channel where it really has
// one (not all opaque, not all clear), otherwise it makes the colour of the top-left pixel
// transparent; any other mode draws the picture opaque.
BgraPicture keyedForMode(BgraPicture straight, int transparentMode);

}  // namespace skyfare
