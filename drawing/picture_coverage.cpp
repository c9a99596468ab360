#include "drawing/picture_coverage.h"

#include "raster/picture_coverage.h"

namespace skyfare {

QRegion pictureCoverage(const QImage& picture) {
  if (picture.isNull())
    return {};
  if (!picture.hasAlphaChannel())
    return QRegion(picture.rect());
  // Premultiplied ARGB32 rows are the shared rule's words: alpha in the top byte.
  const QImage premultiplied = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const BgraRows rows{reinterpret_cast<const std::uint32_t*>(premultiplied.constBits()),
                      premultiplied.bytesPerLine() / 4, premultiplied.width(),
                      premultiplied.height(), false};
  QRegion coverage;
  for (const PixelRect& part : pictureCoverage(rows))
    coverage += QRect(part.x, part.y, part.width, part.height);
  return coverage;
}

}  // namespace skyfare
