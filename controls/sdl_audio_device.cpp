#include "controls/sdl_audio_device.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <iostream>

namespace skyfare {

SdlAudioDevice::SdlAudioDevice() {
  // Without this SDL installs handlers that make the process ignore SIGTERM.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  subsystemOpen_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  mixerOpen_ =
      subsystemOpen_ && Mix_OpenAudioDevice(kMixSampleRateHz, AUDIO_S16SYS, kMixChannelCount,
                                            kMixBufferFrames, nullptr, 0) == 0;
  if (!mixerOpen_)
    std::cerr << "skyfare: no audio device; the saver runs silent\n";
}

SdlAudioDevice::~SdlAudioDevice() {
  if (mixerOpen_)
    Mix_CloseAudio();
  // Loading a sound may have started decoder libraries even without Mix_Init.
  Mix_Quit();
  if (subsystemOpen_)
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace skyfare
