#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/controls/sound_control.h"
#include "core/sound/sound_quiet.h"
#include "sound/quiet_closing_audio_device.h"

namespace skyfare {

// The sound component over SDL's audio device. Loaded sounds are kept in the device's format
// and mixed on its thread, each with a gain that follows SetVolume exactly, also while it
// plays. Handles count up from 1 and are never reused. Without an audio device, or for a file
// that cannot be read, LoadWave still gives a handle; that sound plays nothing and the problem
// is told once on standard error. A sound file is read only when it is a regular wave file of
// sane size, rate and length. A device that opens late gets the sounds loaded before it,
// decoded when they are first played. The device is closed while nothing has played for the
// quiet time, and opens again for the next sound.
class SdlSoundControl final : public SoundControl, private AudioSource {
 public:
  explicit SdlSoundControl(std::chrono::milliseconds quietBeforeCloseMs = kSoundQuietBeforeCloseMs);
  ~SdlSoundControl() override;
  SdlSoundControl(const SdlSoundControl&) = delete;
  SdlSoundControl& operator=(const SdlSoundControl&) = delete;

  void setVisible(bool visible) override;
  SoundHandle LoadWave(const std::string& fileName) override;
  void PlaySound(SoundHandle sound, int flags, int loops) override;
  void SetVolume(SoundHandle sound, int volume) override;
  void StopSound(SoundHandle sound) override;
  void ReleaseSound(SoundHandle sound) override;
  void StopAll() override;

 private:
  struct Sound {
    std::string fileName;
    std::vector<unsigned char> wave;  // the checked file, until the device can decode it
    bool decoded = false;             // false also for a sound that plays nothing
    // In the device's format; read by the audio thread while the sound plays.
    std::vector<std::int16_t> samples;
    std::atomic<float> gain{1.0F};
  };
  // A sound being played, and the next sample the device takes from it.
  struct Playing {
    const Sound* sound;
    std::size_t nextSample;
  };

  bool fill(std::span<std::int16_t> samples) override;
  void decode(Sound& sound);
  Sound* find(SoundHandle sound);
  void stop(const Sound& sound);

  std::map<SoundHandle, std::unique_ptr<Sound>> sounds_;
  SoundHandle lastHandle_ = 0;
  std::vector<Playing> playing_;  // changed only while the device is paused
  // Declared last, so that it opens with everything it plays from in place.
  QuietClosingAudioDevice device_;
};

}  // namespace skyfare
