#include "sound/sdl_alsa_quiet.h"

#include <alsa/asoundlib.h>

namespace skyfare {

namespace {
void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
}  // namespace

AlsaQuiet::AlsaQuiet() {
  snd_lib_error_set_handler(ignoreAlsaMessage);
}

AlsaQuiet::~AlsaQuiet() {
  snd_lib_error_set_handler(nullptr);
}

}  // namespace skyfare
