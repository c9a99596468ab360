#include "raster/density_choice.h"

#include "raster/picture_density.h"

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

}  // namespace skyfare
