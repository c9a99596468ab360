#include "assets/takeoff_sound.h"

#include "assets/pseudo_random.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace skyfare::assets {
namespace {

constexpr double kDurationS = 6.0;
constexpr double kSwellEndS = 2.2;
constexpr double kFadeStartS = 2.8;
constexpr double kPeakFraction = 0.7071;  // -3 dBFS
constexpr double kFullScale = 32767.0;
constexpr std::uint64_t kNoiseSeed = 0x7A6E0FF5ULL;

// A one-pole low-pass filter whose cut-off may change from sample to sample.
class LowPass {
 public:
  double step(double input, double cutoffHz) {
    const double a = 1.0 - std::exp(-2.0 * std::numbers::pi * cutoffHz / kTakeoffSampleRateHz);
    state_ += a * (input - state_);
    return state_;
  }

 private:
  double state_ = 0.0;
};

double swell(double timeS) {
  if (timeS >= kSwellEndS) {
    return 1.0;
  }
  return 0.5 - 0.5 * std::cos(std::numbers::pi * timeS / kSwellEndS);
}

double fade(double timeS, double endS) {
  if (timeS <= kFadeStartS) {
    return 1.0;
  }
  return 0.5 + 0.5 * std::cos(std::numbers::pi * (timeS - kFadeStartS) / (endS - kFadeStartS));
}

}  // namespace

std::vector<std::int16_t> synthesiseTakeoff() {
  const auto count = static_cast<std::size_t>(kDurationS * kTakeoffSampleRateHz);
  const double endS = static_cast<double>(count - 1) / kTakeoffSampleRateHz;
  PseudoRandom noise(kNoiseSeed);
  LowPass roarFirst;
  LowPass roarSecond;
  LowPass rumble;
  double whinePhase = 0.0;
  std::vector<double> mixed(count);
  for (std::size_t i = 0; i < count; ++i) {
    const double timeS = static_cast<double>(i) / kTakeoffSampleRateHz;
    const double throttle = swell(timeS);
    const double distance = fade(timeS, endS);
    const double white = noise.unit() * 2.0 - 1.0;
    // A receding jet loses its highs first.
    const double roarCutoffHz = (350.0 + 1500.0 * throttle) * (0.35 + 0.65 * distance);
    const double roar = roarSecond.step(roarFirst.step(white, roarCutoffHz), roarCutoffHz);
    const double low = rumble.step(white, 110.0);
    const double whineHz =
        700.0 + 2300.0 * throttle + 25.0 * std::sin(2.0 * std::numbers::pi * 5.0 * timeS);
    whinePhase += 2.0 * std::numbers::pi * whineHz / kTakeoffSampleRateHz;
    const double whine = std::sin(whinePhase) + 0.35 * std::sin(1.5 * whinePhase);
    const double whineLevel = 0.05 * throttle * distance * distance;
    mixed[i] = throttle * distance * (2.4 * roar + 3.5 * low) + whineLevel * whine;
  }
  double peak = 0.0;
  for (const double value : mixed) {
    peak = std::max(peak, std::abs(value));
  }
  const double gain = peak > 0.0 ? kPeakFraction * kFullScale / peak : 0.0;
  std::vector<std::int16_t> samples(count);
  std::transform(mixed.begin(), mixed.end(), samples.begin(), [gain](double value) {
    return static_cast<std::int16_t>(std::lround(value * gain));
  });
  return samples;
}

}  // namespace skyfare::assets
