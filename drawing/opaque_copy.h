#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

namespace skyfare {

// Draws an opaque 24-bit picture with its top left at `at`, inside `clip` (both in the
// painter's coordinates), by copying its rows straight into the painter's 32-bit picture:
// what drawImage gives, pixel for pixel, at the cost of a copy. Opaque pictures are kept at
// 24 bits so that a screen's worth of background takes three quarters of the memory.
// False, with nothing drawn, when the painter is not a plain shift onto such a picture;
// drawImage then does the work.
bool copyOpaquePicture(QPainter& painter, QPoint at, const QImage& picture, const QRect& clip);

}  // namespace skyfare
