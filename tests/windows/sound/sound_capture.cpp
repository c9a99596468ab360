#include "tests/windows/sound/sound_capture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <numbers>
#include <thread>

#include "tests/support/wave_bytes.h"

namespace skyfare::testing {
namespace {

// A sample louder than this is sound; the capture's silence is exactly 0.
constexpr int kSoundThreshold = 40;
constexpr std::size_t kLongestGapFrames = kCaptureRateHz / kToneHz;
constexpr wchar_t kDriversKey[] = L"Software\\Wine\\Drivers";
constexpr DWORD kDebugPrintCode = 0x40010006;  // what OutputDebugStringA raises

DebugLines* activeLines = nullptr;

void put(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string windowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

WineAudioDriver::WineAudioDriver(const wchar_t* driver) {
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kDriversKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                      &key_, nullptr) != ERROR_SUCCESS)
    return;
  wchar_t before[256] = {};
  DWORD bytes = sizeof before - sizeof(wchar_t);
  hadValue_ = RegQueryValueExW(key_, L"Audio", nullptr, nullptr, reinterpret_cast<BYTE*>(before),
                               &bytes) == ERROR_SUCCESS;
  before_ = before;
  RegSetValueExW(key_, L"Audio", 0, REG_SZ, reinterpret_cast<const BYTE*>(driver),
                 static_cast<DWORD>((wcslen(driver) + 1) * sizeof(wchar_t)));
}

WineAudioDriver::~WineAudioDriver() {
  if (key_ == nullptr)
    return;
  if (hadValue_) {
    RegSetValueExW(key_, L"Audio", 0, REG_SZ, reinterpret_cast<const BYTE*>(before_.c_str()),
                   static_cast<DWORD>((before_.size() + 1) * sizeof(wchar_t)));
  } else {
    RegDeleteValueW(key_, L"Audio");
  }
  RegCloseKey(key_);
}

DebugLines::DebugLines() : handler_(AddVectoredExceptionHandler(1, collect)) {
  activeLines = this;
}

DebugLines::~DebugLines() {
  RemoveVectoredExceptionHandler(handler_);
  activeLines = nullptr;
}

std::vector<std::string> DebugLines::lines() const {
  const std::scoped_lock lock(mutex_);
  return lines_;
}

LONG CALLBACK DebugLines::collect(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  if (activeLines == nullptr || record.NumberParameters < 2)
    return EXCEPTION_CONTINUE_SEARCH;
  // Also raised after the wide form where the system has one, so each line is seen once here.
  if (record.ExceptionCode != kDebugPrintCode)
    return EXCEPTION_CONTINUE_SEARCH;
  std::string line(reinterpret_cast<const char*>(record.ExceptionInformation[1]));
  const std::scoped_lock lock(activeLines->mutex_);
  activeLines->lines_.push_back(line);
  return EXCEPTION_CONTINUE_SEARCH;
}

void writeToneWave(const std::string& path, int frames, double amplitude, int rateHz) {
  std::ofstream out(path, std::ios::binary);
  const auto dataBytes = static_cast<std::uint32_t>(frames) * 2;
  out << waveHeader({.rateHz = static_cast<std::uint32_t>(rateHz)}, dataBytes);
  for (int i = 0; i < frames; ++i) {
    const double phase = 2.0 * std::numbers::pi * kToneHz * i / rateHz;
    put(out, static_cast<std::uint16_t>(std::lround(amplitude * 32767.0 * std::sin(phase))), 2);
  }
}

std::vector<std::int16_t> capturedLeft(const std::string& captureFile) {
  std::ifstream in(windowsPath(captureFile), std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  std::vector<std::int16_t> left;
  for (std::size_t at = 0; at + 4 <= bytes.size(); at += 4) {
    left.push_back(static_cast<std::int16_t>(static_cast<unsigned char>(bytes[at]) |
                                             (static_cast<unsigned char>(bytes[at + 1]) << 8)));
  }
  return left;
}

std::vector<Burst> bursts(const std::vector<std::int16_t>& samples) {
  std::vector<Burst> found;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (std::abs(samples[i]) <= kSoundThreshold)
      continue;
    if (!found.empty() && i - found.back().end <= kLongestGapFrames)
      found.back().end = i + 1;
    else
      found.push_back({i, i + 1});
  }
  return found;
}

double rms(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to) {
  double sum = 0.0;
  for (std::size_t i = from; i < to && i < samples.size(); ++i)
    sum += static_cast<double>(samples[i]) * samples[i];
  return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds watchdog) {
  const auto deadline = std::chrono::steady_clock::now() + watchdog;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace skyfare::testing
