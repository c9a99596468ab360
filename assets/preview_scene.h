#pragma once

#include <QImage>

namespace skyfare::assets {

// A scene-sized frame as the saver shows it: the background with the logo in its corner and
// two airliners in flight.
QImage composePreviewScene(const QImage& background, const QImage& logo, const QImage& rightBound,
                           const QImage& leftBound);

}  // namespace skyfare::assets
