#pragma once

#include <QImage>
#include <QSize>
#include <functional>
#include <string>

namespace skyfare {

// Reads a framed bitmap (see assets/framed_bmp.h) of exactly `fileSize` pixels straight into a
// picture of `size` (no larger than the file's), each pixel the average of the file's pixels
// over the area it covers. Bands of rows are decoded and averaged one at a time, so a large
// picture never sits in memory whole; parts of the picture are made side by side, one per
// core. Takes the two layouts the program's own pictures come in: 24 bits per pixel, giving an
// opaque picture (Format_RGB888), or 32 bits with an alpha mask, giving a premultiplied one
// (Format_ARGB32_Premultiplied). `withAlpha` says which one the caller expects. A null image
// when the file is missing, not a regular file, damaged, of another layout or size, or not of
// the expected kind.
QImage readReducedBmp(const std::string& path, QSize fileSize, QSize size, bool withAlpha);

// Takes band `band` of a reduced picture: its rows, `rowsPerBand` of them (fewer in the last).
using ReducedBandTaker = std::function<bool(int band, const QImage& rows)>;
// Reads as readReducedBmp does, but hands the picture over in bands of rows as they are made,
// so it is never whole in memory. The taker is called once per band, from several threads at
// once for different bands. False when readReducedBmp would give a null image, or the taker
// said false.
bool readReducedBmpInBands(const std::string& path, QSize fileSize, QSize size, bool withAlpha,
                           int rowsPerBand, const ReducedBandTaker& takeBand);

}  // namespace skyfare
