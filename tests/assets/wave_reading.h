#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>
#include <vector>

namespace skyfare::testing {

struct PcmWave {
  int formatTag = 0;
  int channels = 0;
  int sampleRateHz = 0;
  int bitsPerSample = 0;
  std::vector<std::int16_t> samples;  // interleaved
};

// Reads a RIFF wave file's format and 16-bit data chunks; nothing when the chunks are missing or
// their sizes run past the end of the file.
std::optional<PcmWave> readPcmWave(const QByteArray& bytes);

}  // namespace skyfare::testing
