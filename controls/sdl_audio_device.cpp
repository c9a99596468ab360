#include "controls/sdl_audio_device.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <condition_variable>
#include <iostream>
#include <mutex>
#include <thread>

namespace skyfare {

struct SdlAudioDevice::Opening {
  AlsaQuiet alsaQuiet;  // as long as the opening thread may still talk to ALSA
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  bool abandoned = false;  // the device object is gone; the thread closes what it opened
  bool subsystemOpen = false;
  bool mixerOpen = false;
};

namespace {

constexpr std::chrono::milliseconds kCloseWaitMs{250};

void closeDevice(bool subsystemOpen, bool mixerOpen) {
  if (mixerOpen)
    Mix_CloseAudio();
  // Loading a sound may have started decoder libraries even without Mix_Init.
  Mix_Quit();
  if (subsystemOpen)
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
}  // namespace

SdlAudioDevice::SdlAudioDevice() : opening_(std::make_shared<Opening>()) {
  // Without this SDL installs handlers that make the process ignore SIGTERM.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  std::thread([opening = opening_] { openOn(opening); }).detach();
}

SdlAudioDevice::~SdlAudioDevice() {
  std::unique_lock lock(opening_->mutex);
  // An opening about to finish is waited for, so the next device never opens beside it; one
  // that hangs is not allowed to hold up the end of the program.
  opening_->finished.wait_for(lock, kCloseWaitMs, [this] { return opening_->done; });
  if (!opening_->done) {
    opening_->abandoned = true;
    return;
  }
  closeDevice(opening_->subsystemOpen, opening_->mixerOpen);
}

bool SdlAudioDevice::isOpen(std::chrono::milliseconds wait) const {
  std::unique_lock lock(opening_->mutex);
  opening_->finished.wait_for(lock, wait, [this] { return opening_->done; });
  return opening_->done && opening_->mixerOpen;
}

bool SdlAudioDevice::hasFailed() const {
  const std::scoped_lock lock(opening_->mutex);
  return opening_->done && !opening_->mixerOpen;
}

void SdlAudioDevice::openOn(const std::shared_ptr<Opening>& opening) {
  const bool subsystemOpen = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  const bool mixerOpen =
      subsystemOpen && Mix_OpenAudioDevice(kMixSampleRateHz, AUDIO_S16SYS, kMixChannelCount,
                                           kMixBufferFrames, nullptr, 0) == 0;
  std::unique_lock lock(opening->mutex);
  if (opening->abandoned) {
    closeDevice(subsystemOpen, mixerOpen);
    return;
  }
  if (!mixerOpen)
    std::cerr << "skyfare: no audio device; the saver runs silent\n";
  opening->subsystemOpen = subsystemOpen;
  opening->mixerOpen = mixerOpen;
  opening->done = true;
  opening->finished.notify_all();
}

}  // namespace skyfare
