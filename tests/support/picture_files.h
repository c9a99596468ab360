#pragma once

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <array>
#include <cstdint>
#include <string>

namespace skyfare::testing {

// An opaque picture of one colour.
inline QImage filled(QSize size, QColor colour) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// A folder of picture files that lives as long as the test.
class PictureFolder {
 public:
  std::string save(const QString& name, const QImage& image, const char* format = nullptr) {
    const QString path = dir_.filePath(name);
    image.save(path, format);
    return path.toStdString();
  }
  std::string write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path.toStdString();
  }
  QString path(const QString& name) const { return dir_.filePath(name); }
  std::string missing() const { return dir_.filePath(QStringLiteral("absent.bmp")).toStdString(); }

 private:
  QTemporaryDir dir_;
};

// A 4 × 2 GIF: the left half red, the right half blue.
inline QByteArray redBlueGif() {
  static constexpr std::array<unsigned char, 45> kBytes = {
      0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x04, 0x00, 0x02, 0x00, 0xf0, 0x00, 0x00, 0xff, 0x00,
      0x00, 0x00, 0x00, 0xff, 0x21, 0xf9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00,
      0x00, 0x00, 0x04, 0x00, 0x02, 0x00, 0x00, 0x02, 0x04, 0x04, 0x12, 0x86, 0x05, 0x00, 0x3b};
  return QByteArray(reinterpret_cast<const char*>(kBytes.data()), kBytes.size());
}

// A 32-bit BMP with an alpha mask whose alpha bytes all hold the same value, as some writers
// leave them.
inline QByteArray bmp32WithAlphaByte(const QImage& picture, std::uint8_t alpha) {
  constexpr int kFileHeaderBytes = 14;
  constexpr int kInfoHeaderBytes = 108;
  const int pixelBytes = picture.width() * picture.height() * 4;
  QByteArray bytes(kFileHeaderBytes + kInfoHeaderBytes + pixelBytes, '\0');
  auto put16 = [&](int at, std::uint16_t v) { qToLittleEndian(v, bytes.data() + at); };
  auto put32 = [&](int at, std::uint32_t v) { qToLittleEndian(v, bytes.data() + at); };
  put16(0, 0x4D42);
  put32(2, static_cast<std::uint32_t>(bytes.size()));
  put32(10, kFileHeaderBytes + kInfoHeaderBytes);
  put32(14, kInfoHeaderBytes);
  put32(18, static_cast<std::uint32_t>(picture.width()));
  put32(22, static_cast<std::uint32_t>(picture.height()));
  put16(26, 1);
  put16(28, 32);
  put32(30, 3);  // bit fields
  put32(34, static_cast<std::uint32_t>(pixelBytes));
  put32(54, 0x00FF0000);
  put32(58, 0x0000FF00);
  put32(62, 0x000000FF);
  put32(66, 0xFF000000);
  put32(70, 0x73524742);  // sRGB
  int at = kFileHeaderBytes + kInfoHeaderBytes;
  for (int y = picture.height() - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width(); ++x) {
      put32(at, (picture.pixel(x, y) & 0x00FFFFFF) | (std::uint32_t{alpha} << 24));
      at += 4;
    }
  }
  return bytes;
}

// A picture of one colour with a square of another in its middle.
inline QImage framedSquare(QSize size, QColor border, QColor middle, int inset) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(border);
  for (int y = inset; y < size.height() - inset; ++y) {
    for (int x = inset; x < size.width() - inset; ++x) image.setPixelColor(x, y, middle);
  }
  return image;
}

}  // namespace skyfare::testing
