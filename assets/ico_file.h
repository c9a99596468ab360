#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <span>

namespace skyfare::assets {

// Writes a Windows icon file holding each picture as one size of the icon: 32-bit bitmaps with
// their transparency mask below 256 pixels, where every version of the system reads them, and
// PNG from 256 pixels up, as the system expects of its largest sizes. Pictures must be square
// and at most 256 pixels wide. Returns false, writing nothing, for any other picture or when the
// file cannot be written.
bool saveIco(std::span<const QImage> sizes, const QString& path);
// The bytes saveIco writes; empty when a picture does not fit.
QByteArray encodeIco(std::span<const QImage> sizes);

}  // namespace skyfare::assets
