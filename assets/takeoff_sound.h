#pragma once

#include <cstdint>
#include <vector>

namespace skyfare::assets {

constexpr int kTakeoffSampleRateHz = 22050;

// The fast jet's take-off sound: a roar of filtered noise with a rising turbine whine that
// swells in, peaks and fades away duller as the jet leaves. Mono 16-bit samples at
// kTakeoffSampleRateHz; silent at both ends so it starts and stops without a click, and peaking
// 3 dB below full scale.
std::vector<std::int16_t> synthesiseTakeoff();

}  // namespace skyfare::assets
