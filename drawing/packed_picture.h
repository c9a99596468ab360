#pragma once

#include <QColorSpace>
#include <QImage>
#include <cstddef>
#include <vector>

namespace skyfare {

// A picture packed without loss, in bands of rows of about a mebibyte, each one zstd frame.
// The program's sprites, scaled for a screen, are flat colours on clear surroundings: an
// airliner of 2 MB at 3840 × 2160 packs into about 50 KB and unpacks, exactly as it was, in a
// fraction of a millisecond. A picture may be packed band by band as it is made, so it is never
// whole in memory, and a painter that needs only some of its rows unpacks only their bands.
class PackedPicture {
 public:
  PackedPicture() = default;
  explicit PackedPicture(const QImage& picture);
  // A picture of the size and format with nothing packed yet: each band comes with packBand.
  PackedPicture(QSize size, QImage::Format format);

  // True when nothing is packed: a null picture, one that could not be packed, or one with a
  // band that never came.
  bool isEmpty() const;
  std::size_t packedBytes() const;
  QSize size() const { return size_; }
  // The bytes its pixels take unpacked.
  qsizetype pixelBytes() const { return bytesPerLine_ * size_.height(); }
  int rowsPerBand() const { return rowsPerBand_; }

  // Packs band `band` (rows band × rowsPerBand() on) from `rows`, a picture of the packed one's
  // format and width that holds exactly that band's rows. Bands may be packed from several
  // threads at once, each band once. False when the rows do not fit or cannot be packed.
  bool packBand(int band, const QImage& rows);

  // The picture as it was packed; null when it is empty or its memory cannot be had.
  QImage unpack() const;
  // The rows of the bands that hold picture rows [firstRow, endRow), as a picture that starts at
  // picture row `topRow`; null as unpack() is.
  QImage unpackRows(int firstRow, int endRow, int& topRow) const;

 private:
  QImage unpackBands(int firstBand, int endBand) const;
  int rowsOfBand(int band) const;

  std::vector<std::vector<unsigned char>> bands_;
  QSize size_;
  QImage::Format format_ = QImage::Format_Invalid;
  qsizetype bytesPerLine_ = 0;
  int rowsPerBand_ = 1;
  QColorSpace colorSpace_;
  qreal devicePixelRatio_ = 1.0;
};

}  // namespace skyfare
