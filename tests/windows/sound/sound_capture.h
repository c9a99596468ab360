#pragma once

#include "windows/platform/win32_api.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace skyfare::testing {

inline constexpr int kCaptureRateHz = 48000;
inline constexpr int kToneHz = 480;  // 100 frames a period at the capture's rate

// The Windows name of a path of the machine Wine runs on.
std::string windowsPath(const std::string& unixPath);

// Makes Wine's audio come from the named driver ("alsa", or "" for none) in the processes that
// start their audio while it lives, and puts the setting back after.
class WineAudioDriver {
 public:
  explicit WineAudioDriver(const wchar_t* driver);
  ~WineAudioDriver();
  WineAudioDriver(const WineAudioDriver&) = delete;
  WineAudioDriver& operator=(const WineAudioDriver&) = delete;

 private:
  HKEY key_ = nullptr;
  std::wstring before_;
  bool hadValue_ = false;
};

// Collects what the process says on the debug output while it lives; one at a time.
class DebugLines {
 public:
  DebugLines();
  ~DebugLines();
  DebugLines(const DebugLines&) = delete;
  DebugLines& operator=(const DebugLines&) = delete;
  std::vector<std::string> lines() const;

 private:
  static LONG CALLBACK collect(EXCEPTION_POINTERS* exception);
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  void* handler_;
};

// A 16-bit mono wave of a sine at kToneHz, of the given length and amplitude (1 = full scale).
void writeToneWave(const std::string& path, int frames, double amplitude, int rateHz);

// The left channel of everything captured so far (empty while there is no file).
std::vector<std::int16_t> capturedLeft(const std::string& captureFile);

struct Burst {
  std::size_t begin;
  std::size_t end;
  std::size_t length() const { return end - begin; }
};
// The stretches of sound, each a run of frames no further apart than a tone's period.
std::vector<Burst> bursts(const std::vector<std::int16_t>& samples);
double rms(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t to);

// Waits, with a watchdog, until the condition holds; false when the watchdog fired.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds watchdog = std::chrono::seconds(20));

}  // namespace skyfare::testing
