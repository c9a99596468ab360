#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "core/controls/sound_control.h"

namespace skyfare {

// A sound component that plays only while its process holds a lock: when a host runs one saver
// per monitor, the first to take the lock is heard and the others stay silent. Until the lock is
// held, sounds are only remembered, and each PlaySound asks for the lock again, so a saver that
// starts while the previous one is still ending is heard once that one is gone. From the moment
// the lock is held, every remembered sound is loaded into the real component with its volume,
// and all calls go through to it.
class LockGatedSoundControl final : public SoundControl {
 public:
  // tryTakeLock: true once this process holds the lock. openSound: the real component.
  LockGatedSoundControl(std::function<bool()> tryTakeLock,
                        std::function<std::unique_ptr<SoundControl>()> openSound);
  ~LockGatedSoundControl() override;
  LockGatedSoundControl(const LockGatedSoundControl&) = delete;
  LockGatedSoundControl& operator=(const LockGatedSoundControl&) = delete;

  void setVisible(bool visible) override;
  SoundHandle LoadWave(const std::string& fileName) override;
  void PlaySound(SoundHandle sound, int flags, int loops) override;
  void SetVolume(SoundHandle sound, int volume) override;
  void StopSound(SoundHandle sound) override;
  void ReleaseSound(SoundHandle sound) override;
  void StopAll() override;

  bool audible() const { return real_ != nullptr; }

 private:
  struct Wave {
    std::string fileName;
    std::optional<int> volume;
    SoundHandle realHandle = 0;  // 0 until the real component has loaded it
  };

  // True when the real component is open, opening it first when the lock can be had.
  bool openWhenLockHeld();
  void loadIntoReal(Wave& wave);
  Wave* find(SoundHandle sound);

  std::function<bool()> tryTakeLock_;
  std::function<std::unique_ptr<SoundControl>()> openSound_;
  std::unique_ptr<SoundControl> real_;
  std::map<SoundHandle, Wave> waves_;
  SoundHandle lastHandle_ = 0;
};

}  // namespace skyfare
