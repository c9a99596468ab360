#pragma once

#include <string>
#include <string_view>

namespace skyfare {

// The density to draw a picture from at a scene scale: none (0, the 1× picture) at a scale up
// to 1, otherwise the smallest density at least as large as the scale, or the largest when
// the scale is beyond them all.
int densityForScale(double scale);

// The PNG beside a picture that holds it at a density: "@<density>x.png" in place of the
// extension ("jet01.bmp" gives "jet01@2x.png", "C:\\a\\city lights.bmp" gives
// "C:\\a\\city lights@3x.png").
std::string densityPngName(std::string_view fileName, int density);

}  // namespace skyfare
