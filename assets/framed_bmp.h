#pragma once

#include <QImage>
#include <QString>

namespace skyfare::assets {

// Writes the bitmap saveBmp would, compressed as independent zstd frames: the first holds the
// headers, each one after it a band of whole pixel rows (the same number in every band but the
// last, which may hold fewer). A reader can so decode one band at a time and never holds more.
// Every frame declares its size and carries a checksum. Bytes depend on the pixels alone.
// Returns false when the file cannot be written.
bool saveFramedBmp(const QImage& image, const QString& path);

}  // namespace skyfare::assets
