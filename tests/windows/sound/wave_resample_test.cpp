#include "windows/sound/wave_resample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace skyfare {
namespace {

constexpr double kFullScale = 32767.0;

// One channel of a wave of sines, `amplitudes` of full scale per channel, at `frequencyHz`.
WaveSamples toneWave(int rateHz, int bits, std::vector<double> amplitudes, double frequencyHz,
                     int frames) {
  WaveSamples wave;
  const int channels = static_cast<int>(amplitudes.size());
  wave.format.wFormatTag = WAVE_FORMAT_PCM;
  wave.format.nChannels = static_cast<WORD>(channels);
  wave.format.nSamplesPerSec = static_cast<DWORD>(rateHz);
  wave.format.wBitsPerSample = static_cast<WORD>(bits);
  wave.format.nBlockAlign = static_cast<WORD>(channels * bits / 8);
  for (int i = 0; i < frames; ++i) {
    for (const double amplitude : amplitudes) {
      const double value = amplitude * std::sin(2.0 * std::numbers::pi * frequencyHz * i / rateHz);
      if (bits == 8) {
        wave.bytes.push_back(static_cast<unsigned char>(std::lround(128.0 + 127.0 * value)));
      } else {
        const auto sample = static_cast<std::int16_t>(std::lround(kFullScale * value));
        wave.bytes.push_back(static_cast<unsigned char>(sample & 0xFF));
        wave.bytes.push_back(static_cast<unsigned char>((sample >> 8) & 0xFF));
      }
    }
  }
  return wave;
}

std::vector<double> channel(const WaveSamples& wave, int which) {
  std::vector<double> samples;
  for (std::size_t at = static_cast<std::size_t>(which) * 2; at + 1 < wave.bytes.size();
       at += wave.format.nBlockAlign)
    samples.push_back(static_cast<std::int16_t>(wave.bytes[at] | (wave.bytes[at + 1] << 8)));
  return samples;
}

// The amplitude of the samples' component at the frequency, over the middle half (Goertzel).
double amplitudeAt(const std::vector<double>& samples, double frequencyHz, int rateHz) {
  const std::size_t from = samples.size() / 4;
  const std::size_t count = samples.size() / 2;
  const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * frequencyHz / rateHz);
  double previous = 0.0;
  double beforePrevious = 0.0;
  for (std::size_t i = from; i < from + count; ++i) {
    const double current = samples[i] + coefficient * previous - beforePrevious;
    beforePrevious = previous;
    previous = current;
  }
  const double power = previous * previous + beforePrevious * beforePrevious -
                       coefficient * previous * beforePrevious;
  return 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(count);
}

double decibels(double ratio) {
  return 20.0 * std::log10(ratio);
}

// Up to the mixer's rate the tone keeps its length and level, and its mirror image above the
// wave's own band, which a straight line between samples leaves at about -27 dB, is gone.
TEST(WaveResample, UpKeepsLengthAndLevelAndLeavesNoImage) {
  const WaveSamples wave = toneWave(22050, 16, {0.5}, 4000.0, 22050);
  const WaveSamples out = resampled(wave, 48000);
  EXPECT_EQ(out.format.nSamplesPerSec, 48000U);
  EXPECT_EQ(out.format.wBitsPerSample, 16);
  EXPECT_NEAR(static_cast<double>(out.bytes.size()) / out.format.nBlockAlign, 48000.0, 1.0);
  const auto samples = channel(out, 0);
  EXPECT_NEAR(decibels(amplitudeAt(samples, 4000.0, 48000) / (0.5 * kFullScale)), 0.0, 0.05);
  EXPECT_LT(decibels(amplitudeAt(samples, 22050.0 - 4000.0, 48000) / (0.5 * kFullScale)), -70.0);
}

// Eight-bit stereo becomes 16-bit stereo, each channel its own: a silent one stays silent.
TEST(WaveResample, EightBitStereoKeepsEachChannel) {
  const WaveSamples wave = toneWave(11025, 8, {0.5, 0.0}, 1000.0, 11025);
  const WaveSamples out = resampled(wave, 44100);
  EXPECT_EQ(out.format.nChannels, 2);
  EXPECT_EQ(out.format.nBlockAlign, 4);
  EXPECT_NEAR(static_cast<double>(out.bytes.size()) / 4, 44100.0, 1.0);
  EXPECT_NEAR(decibels(amplitudeAt(channel(out, 0), 1000.0, 44100) / (0.5 * kFullScale)), 0.0, 0.1);
  for (const double sample : channel(out, 1)) ASSERT_LE(std::abs(sample), 128.0);
}

// Down to a lower rate, what lies above its band is removed instead of folding back into it.
TEST(WaveResample, DownRemovesWhatTheLowerRateCannotHold) {
  const WaveSamples wave = toneWave(48000, 16, {0.5}, 15000.0, 48000);
  const auto samples = channel(resampled(wave, 22050), 0);
  EXPECT_NEAR(static_cast<double>(samples.size()), 22050.0, 1.0);
  EXPECT_LT(decibels(amplitudeAt(samples, 22050.0 - 15000.0, 22050) / (0.5 * kFullScale)), -60.0);
}

}  // namespace
}  // namespace skyfare
