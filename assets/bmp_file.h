#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace skyfare::assets {

// Writes a Windows bitmap: 8-bit with its colour table for an indexed image, 32-bit with an
// alpha mask (a version 5 header, which image readers load back with its alpha) for an image
// with alpha, 24-bit otherwise. Bytes depend on the pixels alone, no time stamp. Returns false
// when the file cannot be written.
bool saveBmp(const QImage& image, const QString& path);
// The bytes saveBmp writes; empty for a null image.
QByteArray encodeBmp(const QImage& image);

}  // namespace skyfare::assets
