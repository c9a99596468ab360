#include "drawing/opaque_copy.h"

#include <QTransform>
#include <cmath>

#if defined(__x86_64__)
#include <tmmintrin.h>
#endif

namespace skyfare {
namespace {

using CopyRow = void (*)(const uchar* from, QRgb* to, int pixels);

void copyRow(const uchar* from, QRgb* to, int pixels) {
  for (int x = 0; x < pixels; ++x, from += 3) to[x] = qRgb(from[0], from[1], from[2]);
}

#if defined(__x86_64__)
// Four pixels a step: one shuffle puts each pixel's bytes in the 32-bit order.
__attribute__((target("ssse3"))) void copyRowSsse3(const uchar* from, QRgb* to, int pixels) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, -1, 5, 4, 3, -1, 8, 7, 6, -1, 11, 10, 9, -1);
  const __m128i alpha = _mm_set1_epi32(static_cast<int>(0xFF000000U));
  constexpr int kLoadBytes = 16;
  int x = 0;
  // Each step reads 16 bytes for the 12 it uses, so it runs only while 16 are left in the span;
  // the last five pixels or fewer are left to the plain loop.
  for (; 3 * (pixels - x) >= kLoadBytes; x += 4, from += 12) {
    const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x),
                     _mm_or_si128(_mm_shuffle_epi8(in, order), alpha));
  }
  copyRow(from, to + x, pixels - x);
}
#endif

CopyRow fastestCopyRow() {
#if defined(__x86_64__)
  if (__builtin_cpu_supports("ssse3"))
    return copyRowSsse3;
#endif
  return copyRow;
}

}  // namespace

bool copyOpaquePicture(QPainter& painter, QPoint at, const QImage& picture, const QRect& clip) {
  QPaintDevice* device = painter.device();
  const QTransform& transform = painter.deviceTransform();
  if (picture.format() != QImage::Format_RGB888 || device == nullptr ||
      device->devType() != QInternal::Image || transform.type() > QTransform::TxTranslate ||
      transform.dx() != std::trunc(transform.dx()) || transform.dy() != std::trunc(transform.dy()))
    return false;
  auto& target = *static_cast<QImage*>(device);
  if (target.format() != QImage::Format_RGB32 &&
      target.format() != QImage::Format_ARGB32_Premultiplied)
    return false;
  const QPoint shift(static_cast<int>(transform.dx()), static_cast<int>(transform.dy()));
  const QRect drawn = QRect(at + shift, picture.size())
                          .intersected(clip.translated(shift))
                          .intersected(target.rect());
  const CopyRow copy = fastestCopyRow();
  for (int y = drawn.top(); y <= drawn.bottom(); ++y) {
    copy(picture.constScanLine(y - at.y() - shift.y()) + 3 * (drawn.left() - at.x() - shift.x()),
         reinterpret_cast<QRgb*>(target.scanLine(y)) + drawn.left(), drawn.width());
  }
  return true;
}

}  // namespace skyfare
