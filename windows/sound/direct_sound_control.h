#pragma once

#include "windows/platform/win32_api.h"

#include <dsound.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "core/controls/sound_control.h"
#include "core/sound/sound_quiet.h"
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
//
// Once nothing has played for the quiet time, the buffers and the device are released, so that
// neither DirectSound's mixer nor the audio driver wakes for silence; the next sound opens a
// device again and is heard whole once it is up. The checks run on timer messages of a hidden
// window of the control's own, so they need the thread's message loop, and none runs while the
// device is released.
class DirectSoundControl final : public SoundControl {
 public:
  // window: the window the sounds belong to; null makes them belong to the hidden window.
  explicit DirectSoundControl(
      HWND window = nullptr,
      std::chrono::milliseconds quietBeforeReleaseMs = kSoundQuietBeforeCloseMs);
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
    // Checked; kept while the sound lives, for the buffer of each device that opens.
    std::optional<WaveSamples> wave;
    ComPtr<IDirectSoundBuffer> buffer;
    int volume = kLoudestVolume;
    bool waitsForDevice = false;  // played while a device was still opening
  };

  void createBuffer(Sound& sound, IDirectSound8& device);
  // Plays the sound from its start unless it plays already.
  static void start(Sound& sound);
  Sound* find(SoundHandle sound);
  // Checks the device from now on, counting the quiet afresh.
  void startChecks();
  // On each timer message: plays what waited for the device, and releases it after the quiet.
  static void CALLBACK onCheckTimer(HWND window, UINT message, UINT_PTR timer, DWORD tickMs);
  void checkDevice();
  void releaseDevice();

  std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroy> ownWindow_;
  HWND soundWindow_;
  const std::chrono::milliseconds quietBeforeReleaseMs_;
  std::chrono::milliseconds quietMs_{0};     // how long the checks have found nothing playing
  std::optional<DirectSoundDevice> device_;  // empty while released for the quiet
  // Declared after the device, so that every buffer is released before it.
  std::map<SoundHandle, std::unique_ptr<Sound>> sounds_;
  SoundHandle lastHandle_ = 0;
};

}  // namespace skyfare
