#pragma once

#include <QImage>
#include <string>

#include "pictures/picture_reader.h"

namespace skyfare {

// Reads a BMP, GIF, JPEG or PNG file into a picture ready to draw: opaque pictures at 24 bits,
// the others premultiplied. kTransparentBackground uses the picture's alpha
// channel where it really has one (not all opaque, not all clear), otherwise it makes the
// colour of the top-left pixel transparent; any other mode draws the picture opaque.
// A picture is read no larger than the scene it is drawn in; a missing or unreadable file gives
// a null image and the reason.
PictureRead loadSpritePicture(const std::string& fileName, int transparentMode);

}  // namespace skyfare
