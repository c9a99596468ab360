#include "assets/wave_file.h"

#include "assets/little_endian.h"

namespace skyfare::assets {
namespace {

constexpr std::uint16_t kPcmFormat = 1;
constexpr std::uint16_t kMonoChannels = 1;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint32_t kFormatChunkBytes = 16;

}  // namespace

bool saveWave(const std::vector<std::int16_t>& samples, int sampleRateHz, const QString& path) {
  constexpr std::uint16_t kBlockAlign = kMonoChannels * kBitsPerSample / 8;
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * kBlockAlign);
  QByteArray bytes;
  bytes.append("RIFF", 4);
  appendLe32(bytes, 4 + (8 + kFormatChunkBytes) + (8 + dataBytes));
  bytes.append("WAVE", 4);
  bytes.append("fmt ", 4);
  appendLe32(bytes, kFormatChunkBytes);
  appendLe16(bytes, kPcmFormat);
  appendLe16(bytes, kMonoChannels);
  appendLe32(bytes, static_cast<std::uint32_t>(sampleRateHz));
  appendLe32(bytes, static_cast<std::uint32_t>(sampleRateHz) * kBlockAlign);
  appendLe16(bytes, kBlockAlign);
  appendLe16(bytes, kBitsPerSample);
  bytes.append("data", 4);
  appendLe32(bytes, dataBytes);
  for (const std::int16_t sample : samples) {
    appendLe16(bytes, static_cast<std::uint16_t>(sample));
  }
  return writeFileBytes(bytes, path);
}

}  // namespace skyfare::assets
