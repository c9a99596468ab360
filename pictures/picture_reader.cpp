#include "pictures/picture_reader.h"

#include <unistd.h>

#include <QFile>
#include <QImageReader>
#include <algorithm>

#include "files/regular_file.h"
#include "pictures/png_chunks.h"

namespace skyfare {
namespace {

qint64 wholeDecodeBytes(QSize size, QImage::Format format) {
  const int bitsPerPixel =
      format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
  return static_cast<qint64>(size.width()) * size.height() * std::max(bitsPerPixel, 8) / 8;
}

// Whether the JPEG's frame is progressive, from its markers up to the frame header; false for
// anything else.
bool isProgressiveJpeg(int fd) {
  constexpr qsizetype kHeaderBytes = 1 << 16;
  QByteArray head(kHeaderBytes, '\0');
  head.resize(std::max<qsizetype>(0, pread(fd, head.data(), kHeaderBytes, 0)));
  const auto byteAt = [&head](qsizetype at) { return static_cast<unsigned char>(head[at]); };
  qsizetype at = 2;  // after the start-of-image marker
  while (at + 4 <= head.size() && byteAt(at) == 0xFF) {
    const unsigned char marker = byteAt(at + 1);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
      return marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE;
    at += 2 + ((byteAt(at + 2) << 8) | byteAt(at + 3));
  }
  return false;
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
        reader.supportsOption(QImageIOHandler::ClipRect) && !isProgressiveJpeg(source.fd());
    const qint64 limit = decodesPart ? kLargestPartlyDecodedBytes : kLargestWholeDecodeBytes;
    if (wholeDecodeBytes(declared, reader.imageFormat()) > limit) {
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
