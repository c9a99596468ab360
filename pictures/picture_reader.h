#pragma once

#include <QImage>
#include <QSize>
#include <string>

namespace skyfare {

struct PictureRead {
  QImage image;         // null when the picture was not read
  std::string problem;  // why, in a few words, when it was not
};

// Reads a picture file, at most its top-left `shown` part: a picture larger than that is never
// seen beyond it. Only a regular file is read, opened without waiting, and only within the limits
// of raster/picture_limits.h on what its header declares.
PictureRead readPicture(const std::string& fileName, QSize shown);

// Says on standard error, in one line, which picture could not be read and why.
void sayPictureUnreadable(const std::string& fileName, const std::string& problem);

}  // namespace skyfare
