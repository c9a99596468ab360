#include "drawing/packed_picture.h"

#include <gtest/gtest.h>

#include <random>

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
