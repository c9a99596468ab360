#include "raster/density_choice.h"

#include "assets/picture_density.h"

namespace skyfare {

int densityForScale(double scale) {
  if (scale <= 1.0)
    return 0;
  for (const int density : kPictureDensities) {
    if (density >= scale)
      return density;
  }
  return kPictureDensities.back();
}

std::string densityPngName(std::string_view fileName, int density) {
  const std::size_t separator = fileName.find_last_of("/\\");
  const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
  std::size_t dot = fileName.rfind('.');
  if (dot == std::string_view::npos || dot <= nameStart)
    dot = fileName.size();
  std::string name(fileName.substr(0, dot));
  name += '@' + std::to_string(density) + "x.png";
  return name;
}

}  // namespace skyfare
