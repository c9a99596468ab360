#include "pictures/picture_reader.h"

#include <unistd.h>

#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <array>
#include <iostream>
#include <string_view>
#include <utility>

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

// The format that a picture's first bytes name, for the formats pictures mostly come in; empty
// for any other, which Qt then tells from the content. Told the format and not to guess, Qt
// loads at most the one image plugin that reads it, where guessing has every plugin loaded and
// asked, each a hundred kilobytes or more that the saver would keep all session.
QByteArray formatNamedBySignature(int fd) {
  constexpr std::array<std::pair<std::string_view, const char*>, 4> kSignatures{{
      {"BM", "bmp"},
      {"\x89PNG\r\n\x1a\n", "png"},
      {"\xFF\xD8\xFF", "jpeg"},
      {"GIF8", "gif"},
  }};
  std::array<char, 8> head{};
  const ssize_t read = pread(fd, head.data(), head.size(), 0);
  const std::string_view bytes(head.data(), read > 0 ? static_cast<std::size_t>(read) : 0);
  for (const auto& [signature, format] : kSignatures) {
    if (bytes.starts_with(signature))
      return format;
  }
  return {};
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
  if (const QByteArray format = formatNamedBySignature(source.fd()); !format.isEmpty()) {
    reader.setFormat(format);
    reader.setAutoDetectImageFormat(false);
  }
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
