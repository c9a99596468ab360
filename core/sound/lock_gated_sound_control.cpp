#include "core/sound/lock_gated_sound_control.h"

namespace skyfare {

LockGatedSoundControl::LockGatedSoundControl(
    std::function<bool()> tryTakeLock, std::function<std::unique_ptr<SoundControl>()> openSound)
    : tryTakeLock_(std::move(tryTakeLock)), openSound_(std::move(openSound)) {
  openWhenLockHeld();
}

LockGatedSoundControl::~LockGatedSoundControl() = default;

void LockGatedSoundControl::setVisible(bool visible) {
  if (real_)
    real_->setVisible(visible);
}

SoundHandle LockGatedSoundControl::LoadWave(const std::string& fileName) {
  const SoundHandle handle = ++lastHandle_;
  Wave& wave = waves_[handle];
  wave.fileName = fileName;
  if (real_)
    loadIntoReal(wave);
  return handle;
}

void LockGatedSoundControl::PlaySound(SoundHandle sound, int flags, int loops) {
  Wave* wave = find(sound);
  if (wave && openWhenLockHeld())
    real_->PlaySound(wave->realHandle, flags, loops);
}

void LockGatedSoundControl::SetVolume(SoundHandle sound, int volume) {
  Wave* wave = find(sound);
  if (!wave)
    return;
  wave->volume = volume;
  if (real_)
    real_->SetVolume(wave->realHandle, volume);
}

void LockGatedSoundControl::StopSound(SoundHandle sound) {
  Wave* wave = find(sound);
  if (wave && real_)
    real_->StopSound(wave->realHandle);
}

void LockGatedSoundControl::ReleaseSound(SoundHandle sound) {
  Wave* wave = find(sound);
  if (!wave)
    return;
  if (real_)
    real_->ReleaseSound(wave->realHandle);
  waves_.erase(sound);
}

void LockGatedSoundControl::StopAll() {
  if (real_)
    real_->StopAll();
}

bool LockGatedSoundControl::openWhenLockHeld() {
  if (real_)
    return true;
  if (!tryTakeLock_())
    return false;
  real_ = openSound_();
  for (auto& [handle, wave] : waves_) loadIntoReal(wave);
  return true;
}

void LockGatedSoundControl::loadIntoReal(Wave& wave) {
  wave.realHandle = real_->LoadWave(wave.fileName);
  real_->StopSound(wave.realHandle);
  if (wave.volume)
    real_->SetVolume(wave.realHandle, *wave.volume);
}

LockGatedSoundControl::Wave* LockGatedSoundControl::find(SoundHandle sound) {
  const auto found = waves_.find(sound);
  return found == waves_.end() ? nullptr : &found->second;
}

}  // namespace skyfare
