#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "sound/sdl_audio_device.h"

namespace skyfare {

// An SDL audio device that is open only while its source has something to play. Once the
// source has given nothing but silence for the quiet time, the device closes, so that neither
// its thread nor the sound server wakes for silence; a Pause that brings sound opens it again,
// and the source then plays from where it stands as soon as the device is up. A device that
// could not open is not opened again, so that the failure is told once.
class QuietClosingAudioDevice final : private AudioSource {
 public:
  QuietClosingAudioDevice(AudioSource& source, std::chrono::milliseconds quietBeforeCloseMs);
  ~QuietClosingAudioDevice() override;
  QuietClosingAudioDevice(const QuietClosingAudioDevice&) = delete;
  QuietClosingAudioDevice& operator=(const QuietClosingAudioDevice&) = delete;

  // True when the source can be heard: a device is open, or was and closed for the quiet.
  // Waits at most `wait` for an opening still under way.
  bool canPlay(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
  // True once the opening has ended without a device.
  bool hasFailed();

  enum class Sound { Stays, MayStart };
  // Keeps the audio thread out of the source while it lives, so the source may change what it
  // plays; with Sound::MayStart a device the quiet closed opens again.
  class Pause {
   public:
    Pause(QuietClosingAudioDevice& device, Sound sound);
    ~Pause();
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;

   private:
    QuietClosingAudioDevice& device_;
    std::unique_lock<std::mutex> lock_;
    std::optional<SdlAudioDevice::Pause> devicePause_;
  };

  // Stops the device asking the source for samples, for good; the source may go after this.
  void detachSource();

 private:
  std::unique_ptr<SdlAudioDevice> openDevice();
  bool fill(std::span<std::int16_t> samples) override;
  // Clears the quiet, so that the closer counts it again from the next silent buffer.
  void soundMayFollow();
  // The closer thread: closes the device once the quiet has lasted its time.
  void closeWhenQuiet();

  AudioSource& source_;
  const std::chrono::milliseconds quietBeforeCloseMs_;

  std::mutex quietMutex_;  // taken after the device's own lock, never before it
  std::condition_variable quietChanged_;
  bool quiet_ = false;  // the last buffer was silent and nothing has been asked to play since
  bool ending_ = false;

  std::mutex deviceMutex_;  // taken before the device's own lock, never after it
  bool detached_ = false;
  // Null while closed for the quiet; after the quiet's members, which its thread uses.
  std::unique_ptr<SdlAudioDevice> device_;

  // Started last, with everything it uses in place.
  std::thread closer_;
};

}  // namespace skyfare
