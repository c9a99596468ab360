#include "windows/sound/wasapi_sound_control.h"

#include <algorithm>
#include <cmath>

#include "windows/platform/debug_line.h"

namespace skyfare {
namespace {

// How long loading a sound waits for a device still opening; a later play takes it then.
constexpr std::chrono::milliseconds kDeviceWaitMs{250};
// How often an open device is checked for sounds that still play.
constexpr std::chrono::milliseconds kCheckEveryMs{250};
constexpr UINT_PTR kCheckTimerId = 1;

HWND makeMessageWindow() {
  return CreateWindowExW(0, L"STATIC", L"Skyfare sound", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// A volume in hundredths of a decibel as the factor the samples are multiplied by.
double gainOf(int volume) {
  return std::pow(10.0, volume / 2000.0);
}

}  // namespace

WasapiSoundControl::WasapiSoundControl(std::chrono::milliseconds quietBeforeReleaseMs)
    : ownWindow_(makeMessageWindow()),
      quietBeforeReleaseMs_(quietBeforeReleaseMs),
      output_(std::in_place) {
  if (ownWindow_)
    SetWindowLongPtrW(ownWindow_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  startChecks();
}

WasapiSoundControl::~WasapiSoundControl() = default;

void WasapiSoundControl::setVisible(bool) {}

SoundHandle WasapiSoundControl::LoadWave(const std::string& fileName) {
  Sound sound;
  if (output_)
    output_->isOpen(kDeviceWaitMs);
  // Without a device every sound plays nothing, which the device has said once already.
  if (!output_ || !output_->hasFailed()) {
    std::string problem;
    if (std::optional<WaveSamples> wave = readWaveSamples(fileName, problem))
      sound.wave = std::make_shared<const WaveSamples>(std::move(*wave));
    else
      debugLine("cannot read sound file " + fileName + ": " + problem);
  }
  sounds_.emplace(++lastHandle_, std::move(sound));
  return lastHandle_;
}

void WasapiSoundControl::PlaySound(SoundHandle sound, int, int) {
  Sound* found = find(sound);
  if (found == nullptr || !found->wave)
    return;
  if (!output_) {
    output_.emplace();
    startChecks();
  }
  // A sound that plays goes on; it does not start again.
  output_->play(sound, found->wave, gainOf(found->volume));
}

void WasapiSoundControl::SetVolume(SoundHandle sound, int volume) {
  Sound* found = find(sound);
  if (found == nullptr)
    return;
  found->volume = std::clamp(volume, kQuietestVolume, kLoudestVolume);
  if (output_)
    output_->setGain(sound, gainOf(found->volume));
}

void WasapiSoundControl::StopSound(SoundHandle sound) {
  if (find(sound) != nullptr && output_)
    output_->stop(sound);
}

void WasapiSoundControl::ReleaseSound(SoundHandle sound) {
  StopSound(sound);
  sounds_.erase(sound);
}

void WasapiSoundControl::StopAll() {
  if (output_)
    output_->stopAll();
}

void WasapiSoundControl::startChecks() {
  quietMs_ = std::chrono::milliseconds(0);
  if (ownWindow_)
    SetTimer(ownWindow_.get(), kCheckTimerId, static_cast<UINT>(kCheckEveryMs.count()),
             &onCheckTimer);
}

void CALLBACK WasapiSoundControl::onCheckTimer(HWND window, UINT, UINT_PTR, DWORD) {
  if (auto* control =
          reinterpret_cast<WasapiSoundControl*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
    control->checkDevice();
}

void WasapiSoundControl::checkDevice() {
  if (!output_ || !output_->isOpen()) {
    // A device that could not open is not checked again; one still opening is.
    if (!output_ || output_->hasFailed())
      KillTimer(ownWindow_.get(), kCheckTimerId);
    return;
  }
  quietMs_ = output_->isQuiet() ? quietMs_ + kCheckEveryMs : std::chrono::milliseconds(0);
  if (quietMs_ >= quietBeforeReleaseMs_)
    releaseDevice();
}

void WasapiSoundControl::releaseDevice() {
  KillTimer(ownWindow_.get(), kCheckTimerId);
  output_.reset();
}

WasapiSoundControl::Sound* WasapiSoundControl::find(SoundHandle sound) {
  const auto it = sounds_.find(sound);
  return it == sounds_.end() ? nullptr : &it->second;
}

}  // namespace skyfare
