#pragma once

#include <QImage>

namespace skyfare {

constexpr int kPreviewWidthPx = 153;
constexpr int kPreviewHeightPx = 112;
constexpr int kPreviewColours = 256;

// The still picture shown in the small preview window: `frame` scaled smoothly to
// kPreviewWidthPx × kPreviewHeightPx and reduced to an indexed image with a table of exactly
// kPreviewColours entries chosen for this picture (unused entries are black). The same frame
// always gives the same picture; a null frame gives a black one.
QImage toPreviewPicture(const QImage& frame);

}  // namespace skyfare
