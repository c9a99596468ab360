#pragma once

#include "windows/sound/wave_samples.h"

namespace skyfare {

// The wave at another rate, as 16-bit PCM in the same channels, for a device that mixes at that
// rate: converted once here instead of on every buffer the mixer fills. A windowed-sinc filter
// keeps the level and the length, and what lies above the lower rate's band out of the result.
WaveSamples resampled(const WaveSamples& wave, int rateHz);

}  // namespace skyfare
