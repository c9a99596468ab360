#include "drawing/picture_coverage.h"

#include <algorithm>

namespace skyfare {
namespace {

struct Span {
  int left = 0;
  int right = -1;  // inclusive; right < left when the rows show nothing

  bool isEmpty() const { return right < left; }
};

Span shownColumns(const QImage& premultiplied, int top, int bottom) {
  Span span{premultiplied.width(), -1};
  for (int y = std::max(top, 0); y < std::min(bottom, premultiplied.height()); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(premultiplied.constScanLine(y));
    for (int x = 0; x < premultiplied.width(); ++x) {
      if (qAlpha(line[x]) != 0) {
        span.left = std::min(span.left, x);
        span.right = std::max(span.right, x);
      }
    }
  }
  return span;
}

}  // namespace

QRegion pictureCoverage(const QImage& picture) {
  if (picture.isNull())
    return {};
  if (!picture.hasAlphaChannel())
    return QRegion(picture.rect());
  const QImage premultiplied = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QRegion coverage;
  for (int top = 0; top < picture.height(); top += kCoverageBandRows) {
    const int bottom = std::min(top + kCoverageBandRows, picture.height());
    // The rows just above and below count too: smooth scaling spreads them into the band.
    const Span span = shownColumns(premultiplied, top - 1, bottom + 1);
    if (span.isEmpty())
      continue;
    coverage += QRect(span.left - 1, top, span.right - span.left + 3, bottom - top)
                    .intersected(picture.rect());
  }
  return coverage;
}

}  // namespace skyfare
