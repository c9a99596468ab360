#pragma once

#include "windows/platform/win32_api.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace skyfare {

// The samples of a wave file and their format.
struct WaveSamples {
  WAVEFORMATEX format{};
  std::vector<unsigned char> bytes;
};

// Reads a wave file through the Win32 file API: only a regular file of at most
// kLargestSoundFileBytes, checked with waveProblem before its chunks are looked at, holding
// 8- or 16-bit PCM in one or two channels. Sets `problem` to what is wrong in a few words and
// gives nothing when the file cannot be played.
std::optional<WaveSamples> readWaveSamples(const std::string& utf8FileName, std::string& problem);

}  // namespace skyfare
