#pragma once

#include "raster/bgra_picture.h"

namespace skyfare {

// The premultiplied picture at exactly width × height. Each axis is reduced by averaging the
// source pixels over the area a target pixel covers, and enlarged by blending the two nearest
// source pixels, so neither direction drops or doubles rows. Premultiplied colours keep clear
// pixels from darkening the edges of what they border.
BgraPicture scaledPicture(const BgraPicture& source, int width, int height);

}  // namespace skyfare
