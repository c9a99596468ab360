#pragma once

#include "windows/platform/win32_api.h"

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "core/controls/sound_control.h"
#include "core/sound/sound_quiet.h"
#include "windows/sound/wasapi_output.h"
#include "windows/sound/wave_samples.h"

namespace skyfare {

// The sound component over the system's shared audio engine: the sounds are mixed by the
// program itself into one output stream, so that only the engine's own thread and one of ours
// wake while a sound plays. A sound is heard also while another window has the focus, its
// volume in hundredths of a decibel kept within the quietest and loudest volumes. Handles count
// up from 1 and are never reused. Without an audio device, or for a file that cannot be played,
// LoadWave still gives a handle; that sound plays nothing and the problem is said once on the
// debug output. A device that opens late plays the sounds played before it.
//
// Once nothing has played for the quiet time, the device is released, so that neither thread
// wakes for silence; the next sound opens a device again and is heard whole once it is up. The
// checks run on timer messages of a hidden window of the control's own, so they need the
// thread's message loop, and none runs while the device is released.
class WasapiSoundControl final : public SoundControl {
 public:
  explicit WasapiSoundControl(
      std::chrono::milliseconds quietBeforeReleaseMs = kSoundQuietBeforeCloseMs);
  ~WasapiSoundControl() override;
  WasapiSoundControl(const WasapiSoundControl&) = delete;
  WasapiSoundControl& operator=(const WasapiSoundControl&) = delete;

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
    std::shared_ptr<const WaveSamples> wave;  // null for a sound that plays nothing
    int volume = kLoudestVolume;
  };

  Sound* find(SoundHandle sound);
  // Checks the device from now on, counting the quiet afresh.
  void startChecks();
  // On each timer message: releases the device after the quiet.
  static void CALLBACK onCheckTimer(HWND window, UINT message, UINT_PTR timer, DWORD tickMs);
  void checkDevice();
  void releaseDevice();

  std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroy> ownWindow_;
  const std::chrono::milliseconds quietBeforeReleaseMs_;
  std::chrono::milliseconds quietMs_{0};  // how long the checks have found nothing playing
  std::optional<WasapiOutput> output_;    // empty while released for the quiet
  std::map<SoundHandle, Sound> sounds_;
  SoundHandle lastHandle_ = 0;
};

}  // namespace skyfare
