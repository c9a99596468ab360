#pragma once

#include "controls/sdl_alsa_quiet.h"

namespace skyfare {

// The one output format the mixer is opened with; SDL converts to whatever the device takes,
// so everything mixed here, including the gain effect, sees exactly this format.
inline constexpr int kMixSampleRateHz = 44100;
inline constexpr int kMixChannelCount = 2;
inline constexpr int kMixBufferFrames = 1024;

// Opens SDL's audio subsystem and the mixer for the life of the object. When either cannot be
// opened the object says so once on standard error and stays closed; nothing else fails.
// The mixer is one per process, so a program keeps one open device at a time.
class SdlAudioDevice {
 public:
  SdlAudioDevice();
  ~SdlAudioDevice();
  SdlAudioDevice(const SdlAudioDevice&) = delete;
  SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

  bool isOpen() const { return mixerOpen_; }

 private:
  AlsaQuiet alsaQuiet_;
  bool subsystemOpen_ = false;
  bool mixerOpen_ = false;
};

}  // namespace skyfare
