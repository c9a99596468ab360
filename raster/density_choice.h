#pragma once

namespace skyfare {

// The density to draw a picture from at a scene scale: none (0, the 1× picture) at a scale up
// to 1, otherwise the smallest density at least as large as the scale, or the largest when
// the scale is beyond them all.
int densityForScale(double scale);

}  // namespace skyfare
