#include "app/termination/leave_process.h"

#include <cstdio>
#include <cstdlib>

#include "sound/sdl_audio_device.h"

namespace skyfare {

int leaveProcess(int exitCode) {
  if (!SdlAudioDevice::openingLeftBehind())
    return exitCode;
  std::fflush(nullptr);
  std::_Exit(exitCode);
}

}  // namespace skyfare
