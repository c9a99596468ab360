#include "wave_reading.h"

namespace skyfare::testing {
namespace {

std::uint32_t le(const QByteArray& bytes, qsizetype at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
  }
  return value;
}

}  // namespace

std::optional<PcmWave> readPcmWave(const QByteArray& bytes) {
  if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE" ||
      le(bytes, 4, 4) + 8 != static_cast<std::uint32_t>(bytes.size())) {
    return std::nullopt;
  }
  PcmWave wave;
  bool haveFormat = false;
  for (qsizetype at = 12; at + 8 <= bytes.size();) {
    const QByteArray id = bytes.mid(at, 4);
    const qsizetype size = le(bytes, at + 4, 4);
    const qsizetype body = at + 8;
    if (body + size > bytes.size()) {
      return std::nullopt;
    }
    if (id == "fmt " && size >= 16) {
      wave.formatTag = static_cast<int>(le(bytes, body, 2));
      wave.channels = static_cast<int>(le(bytes, body + 2, 2));
      wave.sampleRateHz = static_cast<int>(le(bytes, body + 4, 4));
      wave.bitsPerSample = static_cast<int>(le(bytes, body + 14, 2));
      haveFormat = true;
    } else if (id == "data" && haveFormat && wave.bitsPerSample == 16) {
      for (qsizetype i = 0; i + 1 < size; i += 2) {
        wave.samples.push_back(static_cast<std::int16_t>(le(bytes, body + i, 2)));
      }
      return wave;
    }
    at = body + size + (size % 2);
  }
  return std::nullopt;
}

}  // namespace skyfare::testing
