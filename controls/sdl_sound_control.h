#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/sdl_audio_device.h"
#include "core/controls/sound_control.h"

struct Mix_Chunk;

namespace skyfare {

// The sound component over SDL's mixer. Each loaded sound has a mixer channel of its own and a
// gain that follows SetVolume exactly, also while it plays. Handles count up from 1 and are
// never reused. Without an audio device, or for a file that cannot be read, LoadWave still
// gives a handle; that sound plays nothing and the problem is told once on standard error.
// A sound file is read only when it is a regular wave file of sane size, rate and length. A
// device that opens late gets the sounds loaded before it, decoded when they are first played.
class SdlSoundControl final : public SoundControl {
 public:
  SdlSoundControl();
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
  struct ChunkDeleter {
    void operator()(Mix_Chunk* chunk) const;
  };

  struct Sound {
    std::string fileName;
    std::vector<unsigned char> wave;     // the checked file, until the device can decode it
    std::vector<unsigned char> samples;  // in the mixer's format, played by the chunk
    // Declared after the samples, so that it halts its channel before they are freed; empty for
    // a sound that plays nothing.
    std::unique_ptr<Mix_Chunk, ChunkDeleter> chunk;
    int channel = -1;
    // Read by the mixer's thread while the sound plays.
    std::atomic<float> gain{1.0F};
  };

  void decode(Sound& sound);
  Sound* find(SoundHandle sound);
  int freeChannel() const;

  // Declared first so that it closes after every sound is freed.
  SdlAudioDevice device_;
  std::map<SoundHandle, std::unique_ptr<Sound>> sounds_;
  SoundHandle lastHandle_ = 0;
};

}  // namespace skyfare
