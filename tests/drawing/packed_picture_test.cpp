#include "drawing/packed_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <thread>

namespace skyfare {
namespace {

QImage speckled(QSize size, QImage::Format format) {
  std::mt19937 random(11);
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      if (random() % 3 == 0)
        image.setPixel(x, y, qRgba(random() % 256, random() % 256, random() % 256, random() % 256));
    }
  }
  return image.convertToFormat(format);
}

TEST(PackedPictureTest, UnpacksExactlyThePictureItPacked) {
  struct Row {
    QSize size;
    QImage::Format format;
  };
  // Widths whose lines end in padding, and the two formats pictures are drawn from.
  for (const Row& row : {Row{{433, 145}, QImage::Format_ARGB32_Premultiplied},
                         Row{{433, 145}, QImage::Format_RGB888}, Row{{1, 1}, QImage::Format_RGB888},
                         Row{{2880, 17}, QImage::Format_RGB32}}) {
    QImage picture = speckled(row.size, row.format);
    picture.setColorSpace(QColorSpace::SRgb);
    const PackedPicture packed(picture);
    ASSERT_FALSE(packed.isEmpty());
    const QImage unpacked = packed.unpack();
    EXPECT_EQ(unpacked, picture) << row.size.width() << " " << row.format;
    EXPECT_EQ(unpacked.format(), row.format);
    EXPECT_EQ(unpacked.colorSpace(), QColorSpace(QColorSpace::SRgb));
    EXPECT_NE(unpacked.constBits(), picture.constBits());
  }
}

// A picture of many bands, packed whole or band by band from two threads, gives the same
// pixels; asked for some rows, it gives the bands that hold them and no more.
TEST(PackedPictureTest, BandsUnpackAloneAndMayBePackedOneByOne) {
  const QImage picture = speckled({433, 1000}, QImage::Format_ARGB32_Premultiplied);
  const PackedPicture whole(picture);
  const int rows = whole.rowsPerBand();
  ASSERT_LT(rows * 3, picture.height()) << "too few bands to tell";

  PackedPicture byBand(picture.size(), picture.format());
  EXPECT_TRUE(byBand.isEmpty());
  const int bands = (picture.height() + rows - 1) / rows;
  {
    const auto pack = [&](int first) {
      for (int band = first; band < bands; band += 2)
        EXPECT_TRUE(
            byBand.packBand(band, picture.copy(0, band * rows, picture.width(),
                                               std::min(rows, picture.height() - band * rows))));
    };
    std::jthread odd(pack, 1);
    pack(0);
  }
  EXPECT_EQ(byBand.unpack(), picture);
  EXPECT_EQ(whole.unpack(), picture);

  int topRow = -1;
  const QImage some = whole.unpackRows(rows + 5, 2 * rows + 1, topRow);
  EXPECT_EQ(topRow, rows);
  EXPECT_EQ(some, picture.copy(0, rows, picture.width(), 2 * rows));
  const QImage last = byBand.unpackRows(picture.height() - 1, picture.height() + 50, topRow);
  EXPECT_EQ(topRow, (bands - 1) * rows);
  EXPECT_EQ(last, picture.copy(0, topRow, picture.width(), picture.height() - topRow));
  EXPECT_TRUE(whole.unpackRows(picture.height(), picture.height() + 9, topRow).isNull());

  PackedPicture missing(picture.size(), picture.format());
  EXPECT_FALSE(missing.packBand(0, picture.copy(0, 0, picture.width(), rows - 1)));
  EXPECT_FALSE(missing.packBand(bands, picture.copy(0, 0, picture.width(), rows)));
  EXPECT_TRUE(missing.packBand(0, picture.copy(0, 0, picture.width(), rows)));
  EXPECT_TRUE(missing.isEmpty());
  EXPECT_TRUE(missing.unpack().isNull());
}

TEST(PackedPictureTest, FlatPicturesPackSmallAndANullOneNotAtAll) {
  QImage flat(1200, 400, QImage::Format_ARGB32_Premultiplied);
  flat.fill(Qt::transparent);
  const PackedPicture packed(flat);
  EXPECT_LT(packed.packedBytes() * 100, static_cast<std::size_t>(flat.sizeInBytes()));
  EXPECT_EQ(packed.unpack(), flat);
  EXPECT_TRUE(PackedPicture(QImage()).isEmpty());
  EXPECT_TRUE(PackedPicture(QImage()).unpack().isNull());
}

}  // namespace
}  // namespace skyfare
