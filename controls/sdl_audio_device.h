#pragma once

#include <chrono>
#include <memory>

#include "controls/sdl_alsa_quiet.h"

namespace skyfare {

// The one output format the mixer is opened with; SDL converts to whatever the device takes,
// so everything mixed here, including the gain effect, sees exactly this format.
inline constexpr int kMixSampleRateHz = 44100;
inline constexpr int kMixChannelCount = 2;
inline constexpr int kMixBufferFrames = 1024;

// Opens SDL's audio subsystem and the mixer for the life of the object. The opening runs on a
// thread of its own, because a sound server that accepts and never answers holds it for tens of
// seconds: nothing else waits on it longer than it asks to. When the device cannot be opened the
// object says so once on standard error and stays closed; nothing else fails. An object that
// ends while the opening still hangs leaves the thread to close what it opens, silently.
// The mixer is one per process, so a program keeps one open device at a time.
class SdlAudioDevice {
 public:
  SdlAudioDevice();
  ~SdlAudioDevice();
  SdlAudioDevice(const SdlAudioDevice&) = delete;
  SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

  // True once the device is open, waiting at most `wait` for an opening still under way.
  bool isOpen(std::chrono::milliseconds wait = std::chrono::milliseconds(0)) const;
  // True once the opening has ended without a device.
  bool hasFailed() const;

 private:
  struct Opening;
  static void openOn(const std::shared_ptr<Opening>& opening);

  std::shared_ptr<Opening> opening_;
};

}  // namespace skyfare
