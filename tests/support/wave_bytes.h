#pragma once

#include <cstdint>
#include <string>

namespace skyfare::testing {

// The fields of a wave file's format chunk.
struct WaveFormat {
  std::uint16_t tag = 1;  // 1: PCM
  std::uint16_t channels = 1;
  std::uint32_t rateHz = 44100;
  std::uint16_t bitsPerSample = 16;
};

// Appends the lowest `count` bytes of value, least significant first.
inline void putLittleEndian(std::string& bytes, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// What a wave file holds before its samples: the RIFF header, the format chunk, and the data
// chunk's header declaring dataBytes of samples. The sizes follow from the format, so a test
// states only what it varies.
inline std::string waveHeader(const WaveFormat& format, std::uint32_t dataBytes) {
  const std::uint32_t frameBytes = format.channels * format.bitsPerSample / 8;
  std::string bytes = "RIFF";
  putLittleEndian(bytes, 36 + dataBytes, 4);
  bytes += "WAVEfmt ";
  putLittleEndian(bytes, 16, 4);
  putLittleEndian(bytes, format.tag, 2);
  putLittleEndian(bytes, format.channels, 2);
  putLittleEndian(bytes, format.rateHz, 4);
  putLittleEndian(bytes, format.rateHz * frameBytes, 4);
  putLittleEndian(bytes, frameBytes, 2);
  putLittleEndian(bytes, format.bitsPerSample, 2);
  bytes += "data";
  putLittleEndian(bytes, dataBytes, 4);
  return bytes;
}

}  // namespace skyfare::testing
