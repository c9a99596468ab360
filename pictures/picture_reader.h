#pragma once

#include <QImage>
#include <QSize>
#include <string>

namespace skyfare {

// A picture that needs more than this to decode whole, and whose format cannot decode just a
// part of itself, is not read: what a file declares must not decide how much memory we use.
inline constexpr qint64 kLargestWholeDecodeBytes = 40LL << 20;
// A format that decodes just a part (a baseline JPEG, as cameras write) may be larger, up to
// what the decoder allows at all. A progressive JPEG keeps working data for the whole picture,
// so it counts as decoded whole.
inline constexpr qint64 kLargestPartlyDecodedBytes = 128LL << 20;

struct PictureRead {
  QImage image;         // null when the picture was not read
  std::string problem;  // why, in a few words, when it was not
};

// Reads a picture file, at most its top-left `shown` part: a picture larger than that is never
// seen beyond it. Only a regular file is read, opened without waiting.
PictureRead readPicture(const std::string& fileName, QSize shown);

}  // namespace skyfare
