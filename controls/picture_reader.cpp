#include "controls/picture_reader.h"

#include <QFile>
#include <QImageReader>
#include <algorithm>

#include "controls/regular_file.h"

namespace skyfare {
namespace {

qint64 wholeDecodeBytes(QSize size, QImage::Format format) {
  const int bitsPerPixel =
      format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
  return static_cast<qint64>(size.width()) * size.height() * std::max(bitsPerPixel, 8) / 8;
}

}  // namespace

PictureRead readPicture(const std::string& fileName, QSize shown) {
  RegularFile source(fileName);
  if (!source.isOpen())
    return {{}, source.problem()};
  QFile device;
  if (!device.open(source.fd(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
    return {{}, "cannot be opened"};
  QImageReader reader(&device);
  const QSize declared = reader.size();
  if (declared.isValid() &&
      (declared.width() > shown.width() || declared.height() > shown.height())) {
    if (!reader.supportsOption(QImageIOHandler::ClipRect) &&
        wholeDecodeBytes(declared, reader.imageFormat()) > kLargestWholeDecodeBytes) {
      return {{},
              "too large (" + std::to_string(declared.width()) + " x " +
                  std::to_string(declared.height()) + " pixels)"};
    }
    reader.setClipRect(QRect(QPoint(0, 0), declared.boundedTo(shown)));
  }
  QImage image = reader.read();
  if (image.isNull())
    return {{}, "not a picture this program reads"};
  // A reader that could not tell the size beforehand decoded the whole picture.
  if (image.width() > shown.width() || image.height() > shown.height())
    image = image.copy(QRect(QPoint(0, 0), image.size().boundedTo(shown)));
  return {std::move(image), {}};
}

}  // namespace skyfare
