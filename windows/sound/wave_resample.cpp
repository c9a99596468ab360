#include "windows/sound/wave_resample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace skyfare {
namespace {

// Zero crossings of the sinc on each side of an output sample, and table steps between two.
constexpr int kHalfWidthZeros = 16;
constexpr int kStepsPerZero = 256;
// Places between two input frames that the weights are tabulated at.
constexpr int kPhases = 512;
// Just below the lower rate's half, so that the filter's slope lies outside the band.
constexpr double kPassedShareOfNyquist = 0.95;

// The Blackman-windowed sinc at each table step from 0 to kHalfWidthZeros zero crossings.
using Kernel = std::array<double, kHalfWidthZeros * kStepsPerZero + 2>;

Kernel makeKernel() {
  Kernel kernel{};
  for (std::size_t i = 0; i < kernel.size(); ++i) {
    const double zeros = static_cast<double>(i) / kStepsPerZero;
    if (zeros >= kHalfWidthZeros)
      continue;
    const double x = std::numbers::pi * zeros;
    const double sinc = i == 0 ? 1.0 : std::sin(x) / x;
    const double w = std::numbers::pi * (zeros / kHalfWidthZeros + 1.0);
    kernel[i] = sinc * (0.42 - 0.5 * std::cos(w) + 0.08 * std::cos(2.0 * w));
  }
  return kernel;
}

// The kernel at a distance in zero crossings, read between its table steps.
double kernelAt(const Kernel& kernel, double zeros) {
  const double at = std::abs(zeros) * kStepsPerZero;
  const auto step = static_cast<std::size_t>(at);
  if (step + 1 >= kernel.size())
    return 0.0;
  const double between = at - static_cast<double>(step);
  return kernel[step] + (kernel[step + 1] - kernel[step]) * between;
}

}  // namespace

WaveSamples resampled(const WaveSamples& wave, int rateHz) {
  const int channels = wave.format.nChannels;
  const bool eightBit = wave.format.wBitsPerSample == 8;
  const std::size_t frameBytes = wave.format.nBlockAlign;
  const std::size_t inFrames = frameBytes == 0 ? 0 : wave.bytes.size() / frameBytes;
  const double inRateHz = wave.format.nSamplesPerSec;
  const auto sample = [&](std::size_t frame, int channel) -> double {
    const std::size_t at =
        frame * frameBytes + static_cast<std::size_t>(channel) * (eightBit ? 1 : 2);
    if (eightBit)
      return (static_cast<int>(wave.bytes[at]) - 128) * 256.0;
    return static_cast<std::int16_t>(wave.bytes[at] | (wave.bytes[at + 1] << 8));
  };

  WaveSamples out;
  out.format.wFormatTag = WAVE_FORMAT_PCM;
  out.format.nChannels = static_cast<WORD>(channels);
  out.format.nSamplesPerSec = static_cast<DWORD>(rateHz);
  out.format.wBitsPerSample = 16;
  out.format.nBlockAlign = static_cast<WORD>(2 * channels);
  out.format.nAvgBytesPerSec = out.format.nSamplesPerSec * out.format.nBlockAlign;
  if (inFrames == 0 || inRateHz <= 0 || rateHz <= 0)
    return out;

  static const Kernel kernel = makeKernel();
  const double inFramesPerOut = inRateHz / rateHz;
  // Zero crossings per input frame: the band ends at the lower of the two rates' halves.
  const double zerosPerFrame = std::min(1.0, 1.0 / inFramesPerOut) * kPassedShareOfNyquist;
  const int halfTaps = static_cast<int>(std::ceil(kHalfWidthZeros / zerosPerFrame));
  const int taps = 2 * halfTaps;
  // The weights of the input frames around an output frame depend only on where it falls
  // between two of them: tabulated for kPhases places, each set summing to one, which keeps
  // the level exact.
  std::vector<double> weights(static_cast<std::size_t>(kPhases + 1) * taps);
  for (int phase = 0; phase <= kPhases; ++phase) {
    double* set = &weights[static_cast<std::size_t>(phase) * taps];
    double sum = 0.0;
    for (int t = 0; t < taps; ++t) {
      const double distance = static_cast<double>(phase) / kPhases + halfTaps - 1 - t;
      set[t] = kernelAt(kernel, distance * zerosPerFrame);
      sum += set[t];
    }
    for (int t = 0; t < taps; ++t) set[t] /= sum;
  }

  const auto outFrames = static_cast<std::size_t>(static_cast<double>(inFrames) / inFramesPerOut);
  out.bytes.resize(outFrames * out.format.nBlockAlign);
  std::vector<double> input(inFrames);
  for (int c = 0; c < channels; ++c) {
    for (std::size_t k = 0; k < inFrames; ++k) input[k] = sample(k, c);
    for (std::size_t i = 0; i < outFrames; ++i) {
      const double centre = static_cast<double>(i) * inFramesPerOut;
      const auto below = static_cast<std::ptrdiff_t>(centre);
      const auto phase =
          static_cast<int>(std::lround((centre - static_cast<double>(below)) * kPhases));
      const double* set = &weights[static_cast<std::size_t>(phase) * taps];
      // Past the wave's ends it is silent.
      double value = 0.0;
      const std::ptrdiff_t first = below - halfTaps + 1;
      const int from = static_cast<int>(std::max<std::ptrdiff_t>(0, -first));
      const int to = static_cast<int>(
          std::min<std::ptrdiff_t>(taps, static_cast<std::ptrdiff_t>(inFrames) - first));
      for (int t = from; t < to; ++t) value += set[t] * input[static_cast<std::size_t>(first + t)];
      const auto clamped =
          static_cast<std::int16_t>(std::clamp(std::lround(value), -32768L, 32767L));
      const std::size_t at = i * out.format.nBlockAlign + static_cast<std::size_t>(c) * 2;
      out.bytes[at] = static_cast<unsigned char>(clamped & 0xFF);
      out.bytes[at + 1] = static_cast<unsigned char>((clamped >> 8) & 0xFF);
    }
  }
  return out;
}

}  // namespace skyfare
