#pragma once

#include "windows/platform/win32_api.h"

#include <dsound.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "core/controls/sound_control.h"
#include "windows/platform/com_ptr.h"
#include "windows/sound/direct_sound_device.h"
#include "windows/sound/wave_samples.h"

namespace skyfare {

// The sound component over DirectSound: one secondary buffer per loaded sound, heard also while
// another window has the focus, its volume in DirectSound's own unit (hundredths of a decibel)
// kept within the quietest and loudest volumes. Handles count up from 1 and are never reused.
// Without an audio device, or for a file that cannot be played, LoadWave still gives a handle;
// that sound plays nothing and the problem is said once on the debug output. A device that
// opens late gets the sounds loaded before it when they are first played.
class DirectSoundControl final : public SoundControl {
 public:
  // window: the window the sounds belong to; null makes a hidden message-only window of its own.
  explicit DirectSoundControl(HWND window = nullptr);
  ~DirectSoundControl() override;
  DirectSoundControl(const DirectSoundControl&) = delete;
  DirectSoundControl& operator=(const DirectSoundControl&) = delete;

  void setVisible(bool visible) override;
  SoundHandle LoadWave(const std::string& fileName) override;
  void PlaySound(SoundHandle sound, int flags, int loops) override;
  void SetVolume(SoundHandle sound, int volume) override;
  void StopSound(SoundHandle sound) override;
  void ReleaseSound(SoundHandle sound) override;
  void StopAll() override;

 private:
  struct WindowDestroy {
    void operator()(HWND window) const { DestroyWindow(window); }
  };
  struct Sound {
    std::string fileName;
    std::optional<WaveSamples> wave;  // checked, until the device takes it
    ComPtr<IDirectSoundBuffer> buffer;
    int volume = kLoudestVolume;
  };

  void createBuffer(Sound& sound, IDirectSound8& device);
  Sound* find(SoundHandle sound);

  std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroy> ownWindow_;
  DirectSoundDevice device_;
  // Declared after the device, so that every buffer is released before it.
  std::map<SoundHandle, std::unique_ptr<Sound>> sounds_;
  SoundHandle lastHandle_ = 0;
};

}  // namespace skyfare
