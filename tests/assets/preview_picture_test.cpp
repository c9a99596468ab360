#include "assets/preview_picture.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>

namespace skyfare {
namespace {

QImage gradientFrame() {
  QImage frame(800, 600, QImage::Format_RGB32);
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      frame.setPixel(x, y, qRgb(x * 255 / 799, y * 255 / 599, (x + y) * 255 / 1398));
    }
  }
  return frame;
}

void expectPreviewShape(const QImage& picture) {
  EXPECT_EQ(picture.size(), QSize(kPreviewWidthPx, kPreviewHeightPx));
  EXPECT_EQ(picture.format(), QImage::Format_Indexed8);
  EXPECT_EQ(picture.colorCount(), kPreviewColours);
}

TEST(PreviewPicture, FrameOfAnySizeBecomesTheIndexedPreview) {
  for (const QSize size : {QSize(800, 600), QSize(1920, 1080), QSize(40, 30), QSize(1, 1)}) {
    QImage frame(size, QImage::Format_ARGB32);
    frame.fill(qRgba(10, 20, 200, 128));
    expectPreviewShape(toPreviewPicture(frame));
  }
}

TEST(PreviewPicture, NullFrameGivesABlackPicture) {
  const QImage picture = toPreviewPicture(QImage());
  expectPreviewShape(picture);
  EXPECT_EQ(picture.pixel(0, 0), qRgb(0, 0, 0));
  EXPECT_EQ(picture.pixel(kPreviewWidthPx - 1, kPreviewHeightPx - 1), qRgb(0, 0, 0));
}

TEST(PreviewPicture, FewColoursAreKeptExactly) {
  QImage frame(800, 600, QImage::Format_RGB32);
  const QRgb quarters[] = {qRgb(200, 10, 10), qRgb(10, 200, 10), qRgb(10, 10, 200),
                           qRgb(250, 250, 250)};
  {
    QPainter p(&frame);
    p.fillRect(0, 0, 400, 300, QColor(quarters[0]));
    p.fillRect(400, 0, 400, 300, QColor(quarters[1]));
    p.fillRect(0, 300, 400, 300, QColor(quarters[2]));
    p.fillRect(400, 300, 400, 300, QColor(quarters[3]));
  }
  const QImage picture = toPreviewPicture(frame);
  EXPECT_EQ(picture.pixel(20, 20), quarters[0]);
  EXPECT_EQ(picture.pixel(130, 20), quarters[1]);
  EXPECT_EQ(picture.pixel(20, 90), quarters[2]);
  EXPECT_EQ(picture.pixel(130, 90), quarters[3]);
}

TEST(PreviewPicture, SmoothGradientStaysCloseToTheScaledFrame) {
  const QImage frame = gradientFrame();
  const QImage picture = toPreviewPicture(frame);
  const QImage reference = frame.scaled(kPreviewWidthPx, kPreviewHeightPx, Qt::IgnoreAspectRatio,
                                        Qt::SmoothTransformation);
  long long error = 0;
  for (int y = 0; y < kPreviewHeightPx; ++y) {
    for (int x = 0; x < kPreviewWidthPx; ++x) {
      const QRgb got = picture.pixel(x, y);
      const QRgb want = reference.pixel(x, y);
      error += std::abs(qRed(got) - qRed(want)) + std::abs(qGreen(got) - qGreen(want)) +
               std::abs(qBlue(got) - qBlue(want));
    }
  }
  const double meanPerChannel =
      static_cast<double>(error) / (3.0 * kPreviewWidthPx * kPreviewHeightPx);
  EXPECT_LT(meanPerChannel, 6.0);
}

TEST(PreviewPicture, SameFrameGivesTheSamePicture) {
  const QImage frame = gradientFrame();
  EXPECT_EQ(toPreviewPicture(frame), toPreviewPicture(frame));
}

}  // namespace
}  // namespace skyfare
