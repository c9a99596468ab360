// The sound loader with the program's own limits: any file is refused or decoded and played,
// in bounded time and memory, through the mixer on SDL's dummy driver.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "sound/sdl_sound_control.h"

namespace {

std::string soundPath() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("skyfare-sound-fuzz-" + std::to_string(getpid())))
          .string();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static skyfare::SdlSoundControl sound;
  std::ofstream(soundPath(), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  const skyfare::SoundHandle handle = sound.LoadWave(soundPath());
  sound.PlaySound(handle, 0, 0);
  sound.StopAll();
  sound.ReleaseSound(handle);
  return 0;
}
