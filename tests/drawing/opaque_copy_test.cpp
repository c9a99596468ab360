#include "drawing/opaque_copy.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <random>

namespace skyfare {
namespace {

// Every byte different, so a channel swapped or a pixel shifted shows.
QImage noisePicture(QSize size) {
  QImage picture(size, QImage::Format_RGB888);
  std::mt19937 random(7);
  for (int y = 0; y < size.height(); ++y) {
    uchar* line = picture.scanLine(y);
    for (int x = 0; x < size.width() * 3; ++x) line[x] = static_cast<uchar>(random());
  }
  return picture;
}

struct Placing {
  QPoint shift;  // the painter's translation
  QPoint at;
  QRect clip;
};

// Pictures whose widths leave every remainder of the four-pixel steps, drawn whole, clipped
// inside, and hanging over every edge of the target.
TEST(OpaqueCopyTest, GivesWhatDrawImageGivesPixelForPixel) {
  const Placing placings[] = {
      {{0, 0}, {0, 0}, {0, 0, 200, 150}},
      {{0, 0}, {13, 7}, {20, 10, 31, 17}},
      {{-40, 25}, {-20, -10}, {-50, -50, 400, 400}},
      {{5, -3}, {150, 110}, {0, 0, 300, 300}},
      {{0, 0}, {30, 30}, {30, 30, 1, 1}},
      {{0, 0}, {10, 10}, {500, 500, 10, 10}},
  };
  for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
    for (const int width : {1, 4, 5, 6, 7, 8, 61}) {
      const QImage picture = noisePicture(QSize(width, 23));
      for (const Placing& placing : placings) {
        QImage expected(200, 150, format);
        expected.fill(Qt::darkCyan);
        QImage copied = expected.copy();
        {
          QPainter painter(&expected);
          painter.translate(placing.shift);
          painter.setClipRect(placing.clip);
          painter.drawImage(placing.at, picture);
        }
        {
          QPainter painter(&copied);
          painter.translate(placing.shift);
          ASSERT_TRUE(copyOpaquePicture(painter, placing.at, picture, placing.clip));
        }
        EXPECT_EQ(copied, expected) << "width " << width << " at " << placing.at.x() << ","
                                    << placing.at.y() << " format " << format;
      }
    }
  }
}

// Rows of 24-bit pixels a multiple of four wide have no padding, so the last row ends where the
// picture's memory ends: copying its last few pixels must read nothing past them, whatever the
// four-pixel steps leave over.
TEST(OpaqueCopyTest, ReadsNothingPastTheLastPixelOfThePicture) {
  for (const int width : {4, 8, 12, 16}) {
    const QImage picture = noisePicture(QSize(width, 3));
    ASSERT_EQ(picture.bytesPerLine(), 3 * width);
    for (int pixels = 1; pixels <= width; ++pixels) {
      const QRect lastPixels(width - pixels, picture.height() - 1, pixels, 1);
      QImage expected(picture.size(), QImage::Format_RGB32);
      expected.fill(Qt::darkCyan);
      QImage copied = expected.copy();
      {
        QPainter painter(&expected);
        painter.setClipRect(lastPixels);
        painter.drawImage(QPoint(0, 0), picture);
      }
      {
        QPainter painter(&copied);
        ASSERT_TRUE(copyOpaquePicture(painter, QPoint(0, 0), picture, lastPixels));
      }
      EXPECT_EQ(copied, expected) << "last " << pixels << " of " << width << " pixels";
    }
  }
}

TEST(OpaqueCopyTest, LeavesToDrawImageWhatIsNotAPlainShiftOfAnOpaquePicture) {
  QImage target(100, 100, QImage::Format_RGB32);
  target.fill(Qt::black);
  const QImage before = target.copy();
  const QImage picture = noisePicture(QSize(10, 10));
  const QRect clip(0, 0, 100, 100);
  {
    QPainter painter(&target);
    painter.scale(2, 2);
    EXPECT_FALSE(copyOpaquePicture(painter, QPoint(0, 0), picture, clip));
  }
  {
    QPainter painter(&target);
    painter.translate(0.5, 0);
    EXPECT_FALSE(copyOpaquePicture(painter, QPoint(0, 0), picture, clip));
  }
  {
    QPainter painter(&target);
    EXPECT_FALSE(copyOpaquePicture(painter, QPoint(0, 0),
                                   picture.convertToFormat(QImage::Format_ARGB32), clip));
  }
  QImage sixteenBits(100, 100, QImage::Format_RGB16);
  {
    QPainter painter(&sixteenBits);
    EXPECT_FALSE(copyOpaquePicture(painter, QPoint(0, 0), picture, clip));
  }
  EXPECT_EQ(target, before);
}

}  // namespace
}  // namespace skyfare
