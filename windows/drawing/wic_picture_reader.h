#pragma once

#include <wincodec.h>

#include <string>

#include "raster/bgra_picture.h"

namespace skyfare {

struct PictureFile {
  BgraPicture straight;  // alpha not premultiplied; null when the file was not read
  std::string problem;   // why, in a few words, when it was not
};

// Reads the first frame of a BMP, GIF, JPEG or PNG file, at most its top-left
// maxWidth × maxHeight part: a picture larger than that is never seen beyond it. Only a file on
// a disk is read. The format and size the file declares are checked from its first bytes before
// any decoder sees it, so a hostile file is refused without a large allocation.
PictureFile readPictureFile(IWICImagingFactory& factory, const std::wstring& path, int maxWidth,
                            int maxHeight);

}  // namespace skyfare
