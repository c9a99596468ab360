#include "pictures/picture_reader.h"

#include <unistd.h>

#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <iostream>

#include "files/regular_file.h"
#include "pictures/png_chunks.h"
#include "raster/picture_limits.h"

namespace skyfare {
namespace {

int decodedBitsPerPixel(QImage::Format format) {
  return format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
}

// Whether the JPEG's frame is progressive, from its first bytes; false for anything else.
bool isProgressiveJpegFile(int fd) {
  constexpr qsizetype kHeaderBytes = 1 << 16;
  QByteArray head(kHeaderBytes, '\0');
  head.resize(std::max<qsizetype>(0, pread(fd, head.data(), kHeaderBytes, 0)));
  return isProgressiveJpeg(reinterpret_cast<const unsigned char*>(head.constData()),
                           static_cast<std::size_t>(head.size()));
}

}  // namespace

PictureRead readPicture(const std::string& fileName, QSize shown) {
  RegularFile source(fileName);
  if (!source.isOpen())
    return {{}, source.problem()};
  if (std::string problem = pngChunkProblem(source.fd(), source.sizeBytes()); !problem.empty())
    return {{}, std::move(problem)};
  QFile device;
  if (!device.open(source.fd(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
    return {{}, "cannot be opened"};
  QImageReader reader(&device);
  const QSize declared = reader.size();
  if (declared.isValid() &&
      (declared.width() > shown.width() || declared.height() > shown.height())) {
    const bool decodesPart =
        reader.supportsOption(QImageIOHandler::ClipRect) && !isProgressiveJpegFile(source.fd());
    if (std::string problem =
            declaredSizeProblem(declared.width(), declared.height(),
                                decodedBitsPerPixel(reader.imageFormat()), decodesPart);
        !problem.empty())
      return {{}, std::move(problem)};
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

void sayPictureUnreadable(const std::string& fileName, const std::string& problem) {
  std::cerr << "skyfare: cannot read picture " << fileName << ": " << problem << '\n';
}

}  // namespace skyfare
