#include "core/sound/wave_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/support/wave_bytes.h"

namespace skyfare {
namespace {

constexpr std::uint32_t kOutputRateHz = 44100;

using testing::WaveFormat;

constexpr WaveFormat kCdSound{.tag = 1, .channels = 2, .rateHz = 44100, .bitsPerSample = 16};

// A wave with a format chunk and `dataBytes` of samples, of which `presentBytes` are in the file.
std::string wave(WaveFormat format, std::uint32_t dataBytes, std::uint32_t presentBytes) {
  return testing::waveHeader(format, dataBytes) + std::string(presentBytes, '\0');
}

std::string problemOf(const std::string& bytes) {
  return waveProblem(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                     kOutputRateHz);
}

struct Row {
  const char* what;
  std::string bytes;
  const char* problem;  // empty: the wave is accepted
};

TEST(WaveProblem, AcceptsSaneWavesAndNamesWhatIsWrongWithTheRest) {
  const std::uint32_t second = 44100 * 4;
  const Row rows[] = {
      {"a second of CD sound", wave(kCdSound, second, second), ""},
      {"8-bit mono at 8 kHz", wave({1, 1, 8000, 8}, 8000, 8000), ""},
      {"IMA ADPCM", wave({0x11, 1, 22050, 4}, 1000, 1000), ""},
      {"a chunk claiming more than the file holds", wave(kCdSound, 0x5F4C4453U, 60),
       "a damaged wave file (a chunk runs past its end)"},
      {"two minutes", wave(kCdSound, 120 * second, 120 * second), ""},
      {"nothing", "", "not a wave file"},
      {"another RIFF kind", std::string("RIFF\x04\0\0\0AVI ", 12), "not a wave file"},
      {"no format chunk", std::string("RIFF\x0c\0\0\0WAVEdata\0\0\0\0", 20),
       "not a complete wave file"},
      {"a short format chunk", std::string("RIFF\x10\0\0\0WAVEfmt \x02\0\0\0\x01\0", 22),
       "damaged wave format"},
      {"MP3 inside", wave({0x55, 2, 44100, 0}, 1000, 1000), "an unsupported wave encoding"},
      {"no channels", wave({1, 0, 44100, 16}, 1000, 1000), "an unsupported channel count"},
      {"one hertz", wave({1, 2, 1, 16}, 1000, 1000), "an unsupported sample rate"},
      {"a gigahertz", wave({1, 2, 1000000000, 16}, 1000, 1000), "an unsupported sample rate"},
      {"huge samples", wave({1, 2, 44100, 1024}, 1000, 1000), "an unsupported sample size"},
      {"longer than two minutes", wave(kCdSound, 121 * second, 121 * second), "too long"},
      {"4-bit at the lowest rate", wave({0x11, 1, 4000, 4}, 4000 * 241 / 2, 4000 * 241 / 2),
       "too long"},
  };
  for (const Row& row : rows) EXPECT_EQ(problemOf(row.bytes), row.problem) << row.what;
}

}  // namespace
}  // namespace skyfare
