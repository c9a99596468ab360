#include "core/sound/wave_check.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace skyfare {
namespace {

constexpr std::size_t kRiffHeaderBytes = 12;
constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::size_t kFormatChunkBytes = 16;
constexpr std::uint16_t kMostChannels = 8;
constexpr std::uint16_t kFewestBitsPerSample = 4;
constexpr std::uint16_t kMostBitsPerSample = 64;

struct WaveFormat {
  std::uint16_t tag = 0;
  std::uint16_t channels = 0;
  std::uint32_t rateHz = 0;
  std::uint16_t bitsPerSample = 0;
};

std::uint16_t le16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t le32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool knownEncoding(std::uint16_t tag) {
  // PCM, MS ADPCM, IEEE float, A-law, mu-law, IMA ADPCM, extensible.
  for (const std::uint16_t known : {0x0001, 0x0002, 0x0003, 0x0006, 0x0007, 0x0011, 0xFFFE}) {
    if (tag == known)
      return true;
  }
  return false;
}

}  // namespace

std::string waveProblem(const unsigned char* data, std::size_t size, std::uint32_t outputRateHz) {
  if (size < kRiffHeaderBytes || std::memcmp(data, "RIFF", 4) != 0 ||
      std::memcmp(data + 8, "WAVE", 4) != 0)
    return "not a wave file";

  std::optional<WaveFormat> format;
  std::uint64_t sampleBytes = 0;
  bool haveSamples = false;
  std::size_t at = kRiffHeaderBytes;
  while (size - at >= kChunkHeaderBytes) {
    const unsigned char* chunk = data + at;
    const std::size_t length = le32(chunk + 4);
    const std::size_t body = at + kChunkHeaderBytes;
    // The decoder allocates what a chunk claims before it finds the file shorter.
    if (length > size - body)
      return "a damaged wave file (a chunk runs past its end)";
    if (std::memcmp(chunk, "fmt ", 4) == 0 && !format) {
      if (length < kFormatChunkBytes)
        return "damaged wave format";
      const unsigned char* f = data + body;
      format = WaveFormat{le16(f), le16(f + 2), le32(f + 4), le16(f + 14)};
    } else if (std::memcmp(chunk, "data", 4) == 0 && !haveSamples) {
      sampleBytes = length;
      haveSamples = true;
    }
    // Chunks are padded to an even length; the last one's pad byte may be missing.
    at = std::min(size, body + length + (length & 1U));
  }

  if (!format || !haveSamples)
    return "not a complete wave file";
  if (!knownEncoding(format->tag))
    return "an unsupported wave encoding";
  if (format->channels == 0 || format->channels > kMostChannels)
    return "an unsupported channel count";
  if (format->rateHz < kLowestSampleRateHz || format->rateHz > kHighestSampleRateHz)
    return "an unsupported sample rate";
  if (format->bitsPerSample > kMostBitsPerSample)
    return "an unsupported sample size";
  // Compressed encodings give at most one frame per kFewestBitsPerSample bits per channel.
  const std::uint64_t bitsPerFrame =
      static_cast<std::uint64_t>(format->channels) *
      std::max<std::uint16_t>(format->bitsPerSample, kFewestBitsPerSample);
  const std::uint64_t frames = sampleBytes * 8 / bitsPerFrame;
  const std::uint64_t mixedFrames = frames * outputRateHz / format->rateHz;
  if (mixedFrames > static_cast<std::uint64_t>(kLongestSoundSeconds) * outputRateHz)
    return "too long";
  return {};
}

}  // namespace skyfare
