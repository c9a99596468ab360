#pragma once

#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "tests/support/wave_bytes.h"

namespace skyfare::testing {

inline constexpr int kWaveRateHz = 44100;
// 441 Hz at 44100 Hz is exactly 100 samples a period, so any whole window of periods has the
// tone's true RMS.
inline constexpr double kToneHz = 441.0;

// Writes a mono 16-bit PCM wave file of a sine tone whose amplitude, a fraction of full scale,
// is given for each point of the clip from 0 (start) to 1 (end).
inline void writeToneWave(const std::string& path, int frames,
                          const std::function<double(double)>& amplitudeAt,
                          int rateHz = kWaveRateHz) {
  std::vector<std::int16_t> samples(frames);
  for (int i = 0; i < frames; ++i) {
    const double phase = 2.0 * std::numbers::pi * kToneHz * i / rateHz;
    samples[i] = static_cast<std::int16_t>(
        std::lround(32767.0 * amplitudeAt(static_cast<double>(i) / frames) * std::sin(phase)));
  }
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::ofstream out(path, std::ios::binary);
  out << waveHeader({.rateHz = static_cast<std::uint32_t>(rateHz)}, dataBytes);
  out.write(reinterpret_cast<const char*>(samples.data()), dataBytes);
}

}  // namespace skyfare::testing
