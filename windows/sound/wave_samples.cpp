#include "windows/sound/wave_samples.h"

#include <mmreg.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "core/sound/wave_check.h"

namespace skyfare {
namespace {

// Only the length of a sound is judged against a rate; this is the rate it is measured at.
constexpr std::uint32_t kJudgedRateHz = 44100;
constexpr std::size_t kRiffHeaderBytes = 12;
constexpr std::size_t kChunkHeaderBytes = 8;
constexpr std::size_t kFormatChunkBytes = 16;
// Less than one frame of 16-bit stereo is no sound.
constexpr std::size_t kFewestSampleBytes = 4;

struct HandleClose {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<void, HandleClose>;

std::wstring wide(const std::string& text) {
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                      length);
  return result;
}

std::uint16_t le16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t le32(const unsigned char* p) {
  return static_cast<std::uint32_t>(le16(p)) | (static_cast<std::uint32_t>(le16(p + 2)) << 16);
}

std::optional<std::vector<unsigned char>> readRegularFile(const std::string& fileName,
                                                          std::string& problem) {
  HANDLE opened = CreateFileW(wide(fileName).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (opened == INVALID_HANDLE_VALUE) {
    problem = "cannot be opened";
    return std::nullopt;
  }
  const FileHandle file(opened);
  LARGE_INTEGER size{};
  if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size)) {
    problem = "not a regular file";
    return std::nullopt;
  }
  if (size.QuadPart > kLargestSoundFileBytes) {
    problem = "too large";
    return std::nullopt;
  }
  std::vector<unsigned char> bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() &&
      (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
       read != bytes.size())) {
    problem = "cannot be read";
    return std::nullopt;
  }
  return bytes;
}

}  // namespace

std::optional<WaveSamples> readWaveSamples(const std::string& utf8FileName, std::string& problem) {
  std::optional<std::vector<unsigned char>> file = readRegularFile(utf8FileName, problem);
  if (!file)
    return std::nullopt;
  const std::vector<unsigned char>& bytes = *file;
  problem = waveProblem(bytes.data(), bytes.size(), kJudgedRateHz);
  if (!problem.empty())
    return std::nullopt;

  // The check above has found every chunk within the file, each length too.
  WaveSamples wave;
  const unsigned char* samples = nullptr;
  std::size_t sampleBytes = 0;
  bool haveFormat = false;
  for (std::size_t at = kRiffHeaderBytes; bytes.size() - at >= kChunkHeaderBytes;) {
    const unsigned char* chunk = bytes.data() + at;
    const std::size_t length = std::min<std::size_t>(le32(chunk + 4), bytes.size() - at - 8);
    const unsigned char* body = chunk + kChunkHeaderBytes;
    if (std::memcmp(chunk, "fmt ", 4) == 0 && !haveFormat && length >= kFormatChunkBytes) {
      wave.format.wFormatTag = le16(body);
      wave.format.nChannels = le16(body + 2);
      wave.format.nSamplesPerSec = le32(body + 4);
      wave.format.wBitsPerSample = le16(body + 14);
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0 && samples == nullptr) {
      samples = body;
      sampleBytes = length;
    }
    at = std::min(bytes.size(), at + kChunkHeaderBytes + length + (length & 1U));
  }
  WAVEFORMATEX& format = wave.format;
  if (!haveFormat || samples == nullptr || format.wFormatTag != WAVE_FORMAT_PCM ||
      (format.wBitsPerSample != 8 && format.wBitsPerSample != 16) || format.nChannels > 2) {
    problem = "an unsupported wave encoding";
    return std::nullopt;
  }
  // Worked out afresh from the fields that matter, whatever the file says of the others.
  format.nBlockAlign = static_cast<WORD>(format.nChannels * format.wBitsPerSample / 8);
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  format.cbSize = 0;
  sampleBytes -= sampleBytes % format.nBlockAlign;
  if (sampleBytes < kFewestSampleBytes) {
    problem = "holds no sound";
    return std::nullopt;
  }
  wave.bytes.assign(samples, samples + sampleBytes);
  return wave;
}

}  // namespace skyfare
