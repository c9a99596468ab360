#include "sound/sdl_volume_gain.h"

#include <algorithm>
#include <cmath>

#include "core/controls/sound_control.h"

namespace skyfare {

namespace {
constexpr double kHundredthsOfDbPerDecade = 2000.0;
}

float gainForVolume(int volume) {
  const int clamped = std::clamp(volume, kQuietestVolume, kLoudestVolume);
  return static_cast<float>(std::pow(10.0, clamped / kHundredthsOfDbPerDecade));
}

}  // namespace skyfare
