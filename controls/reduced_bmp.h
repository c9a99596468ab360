#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace skyfare {

// Reads an uncompressed bitmap of exactly `fileSize` pixels straight into a picture of
// `size` (no larger than the file's), each pixel the average of the file's pixels over the area
// it covers. Rows are read and averaged one at a time, so a large file never sits in memory
// whole. Takes the two layouts the program's own pictures come in: 24 bits per pixel, giving
// an opaque picture (Format_RGB32), or 32 bits with an alpha mask, giving a premultiplied one
// (Format_ARGB32_Premultiplied). `withAlpha` says which one the caller expects. A null image
// when the file is missing, cut short, of another layout or size, or not of the expected kind.
QImage readReducedBmp(const QString& path, QSize fileSize, QSize size, bool withAlpha);

}  // namespace skyfare
