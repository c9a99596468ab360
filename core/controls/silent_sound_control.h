#pragma once

#include <string>

#include "core/controls/sound_control.h"

namespace skyfare {

// A sound component that hears every call and plays nothing, for the tools that draw a session
// without a listener: every wave loads, as a handle that stays silent.
class SilentSoundControl final : public SoundControl {
 public:
  void setVisible(bool) override {}
  SoundHandle LoadWave(const std::string&) override { return 1; }
  void PlaySound(SoundHandle, int, int) override {}
  void SetVolume(SoundHandle, int) override {}
  void StopSound(SoundHandle) override {}
  void ReleaseSound(SoundHandle) override {}
  void StopAll() override {}
};

}  // namespace skyfare
