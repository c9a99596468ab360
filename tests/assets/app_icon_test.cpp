#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <functional>

namespace skyfare::testing {
namespace {

constexpr int kThemeSizesPx[] = {16, 24, 32, 48, 64, 128, 256};

QImage themeIcon(int sizePx) {
  const QString path = QDir(QStringLiteral(SKYFARE_ICON_THEME_DIR))
                           .filePath(QStringLiteral("%1x%1/apps/").arg(sizePx) +
                                     QStringLiteral(SKYFARE_APP_ID) + QStringLiteral(".png"));
  return QImage(path).convertToFormat(QImage::Format_ARGB32);
}

double share(const QImage& image, const std::function<bool(QRgb)>& counts) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      count += counts(image.pixel(x, y)) ? 1 : 0;
    }
  }
  return static_cast<double>(count) / (image.width() * image.height());
}

TEST(AppIcon, EverySizeIsASquareOfThatSize) {
  for (const int sizePx : kThemeSizesPx) {
    const QImage icon = themeIcon(sizePx);
    ASSERT_FALSE(icon.isNull()) << sizePx;
    EXPECT_EQ(icon.size(), QSize(sizePx, sizePx));
  }
}

// A rounded plate with room around it, as icon themes draw them; the plate itself is solid.
TEST(AppIcon, CornersAreClearAndThePlateIsSolid) {
  for (const int sizePx : kThemeSizesPx) {
    const QImage icon = themeIcon(sizePx);
    ASSERT_FALSE(icon.isNull()) << sizePx;
    const int last = sizePx - 1;
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)}) {
      EXPECT_EQ(qAlpha(icon.pixel(corner)), 0)
          << sizePx << " at " << corner.x() << "," << corner.y();
    }
    const QImage middle = icon.copy(sizePx / 4, sizePx / 4, sizePx / 2, sizePx / 2);
    EXPECT_EQ(share(middle, [](QRgb pixel) { return qAlpha(pixel) == 255; }), 1.0) << sizePx;
  }
}

// The airliner's pale fuselage stands out of the night at every size, the smallest too.
TEST(AppIcon, TheAirlinerShowsAgainstTheNight) {
  for (const int sizePx : kThemeSizesPx) {
    const QImage icon = themeIcon(sizePx);
    ASSERT_FALSE(icon.isNull()) << sizePx;
    const double pale =
        share(icon, [](QRgb pixel) { return qAlpha(pixel) == 255 && qGray(pixel) > 120; });
    const double dark =
        share(icon, [](QRgb pixel) { return qAlpha(pixel) == 255 && qGray(pixel) < 60; });
    EXPECT_GT(pale, 0.04) << sizePx;
    EXPECT_GT(dark, 0.3) << sizePx;
  }
}

}  // namespace
}  // namespace skyfare::testing
