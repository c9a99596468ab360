#pragma once

#include <QImage>

namespace skyfare::assets {

constexpr int kSceneWidthPx = 800;
constexpr int kSceneHeightPx = 600;

// The default background: a city at night under a dark, calm sky with a few stars and a moon,
// lit windows in the towers and their reflection in the river below. Opaque, scene-sized at 1×.
QImage drawCitySkyline(double density = 1.0);

}  // namespace skyfare::assets
