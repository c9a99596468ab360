#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

#include "sound/sdl_alsa_quiet.h"

namespace skyfare {

// The one output format the device is opened with; SDL converts to whatever the hardware
// takes, so everything mixed here sees exactly this format.
inline constexpr int kMixSampleRateHz = 44100;
inline constexpr int kMixChannelCount = 2;
inline constexpr int kMixBufferFrames = 1024;

// What the device plays: called on the audio thread for each buffer, in the format above
// (16-bit samples, channels interleaved), which it must fill.
class AudioSource {
 public:
  virtual ~AudioSource() = default;
  // Fills the samples; false when nothing is left to play after them.
  virtual bool fill(std::span<std::int16_t> samples) = 0;
};

// Opens SDL's audio subsystem and a device for the life of the object, playing what its source
// gives. The opening runs on a thread of its own, because a sound server that accepts and never
// answers holds it for tens of seconds: nothing else waits on it longer than it asks to. When
// the device cannot be opened the object says so once on standard error and stays closed;
// nothing else fails. An object that ends while the opening still hangs ends at once and leaves
// the thread to close what it opens, silently. Openings and closings of all devices take turns,
// so a device never opens beside another that is still opening.
class SdlAudioDevice {
 public:
  explicit SdlAudioDevice(AudioSource& source);
  ~SdlAudioDevice();
  SdlAudioDevice(const SdlAudioDevice&) = delete;
  SdlAudioDevice& operator=(const SdlAudioDevice&) = delete;

  // True once the device is open, waiting at most `wait` for an opening still under way.
  bool isOpen(std::chrono::milliseconds wait = std::chrono::milliseconds(0)) const;
  // True once the opening has ended without a device.
  bool hasFailed() const;

  // Keeps the audio thread out of the source while it lives, so the source may change what
  // it plays; a device still opening starts playing only after it.
  class Pause {
   public:
    explicit Pause(const SdlAudioDevice& device);
    ~Pause();
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;

   private:
    std::unique_lock<std::mutex> openingLock_;
    std::uint32_t deviceId_;
  };

  // Stops the device asking the source for samples; the source may go after this.
  void detachSource();

  // True while the opening of a device that has ended still runs inside the sound libraries,
  // which their teardown at the process's exit must not pull from under it.
  static bool openingLeftBehind();

 private:
  struct Opening;
  // Opens the device on the opening's thread; true when the object had ended by then.
  static bool openOn(Opening& opening);
  // The device's callback: asks the source for a buffer, or gives silence once it is detached.
  static void fillFromSource(void* opening, unsigned char* stream, int bytes);

  std::shared_ptr<Opening> opening_;
};

}  // namespace skyfare
