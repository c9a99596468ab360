#pragma once

namespace skyfare {

// The amplitude factor for a volume in hundredths of a decibel, clamped to the quietest and
// loudest volumes: 0 gives 1, -2000 gives 1/10.
float gainForVolume(int volume);

}  // namespace skyfare
