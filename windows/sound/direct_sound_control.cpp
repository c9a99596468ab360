#include "windows/sound/direct_sound_control.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "core/sound/wave_check.h"
#include "windows/platform/debug_line.h"
#include "windows/sound/wave_resample.h"

namespace skyfare {
namespace {

// How long loading a sound waits for a device still opening; a later play takes it then.
constexpr std::chrono::milliseconds kDeviceWaitMs{250};
// How often an open device is checked for sounds that still play, or wait for it.
constexpr std::chrono::milliseconds kCheckEveryMs{250};
constexpr UINT_PTR kCheckTimerId = 1;
// Above this a sound is left at its own rate, so that no mix rate makes it take much more room.
constexpr int kHighestMixRateHz = 96000;

HWND makeMessageWindow() {
  return CreateWindowExW(0, L"STATIC", L"Skyfare sound", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

void sayCannotRead(const std::string& fileName, const std::string& problem) {
  debugLine("cannot read sound file " + fileName + ": " + problem);
}

}  // namespace

DirectSoundControl::DirectSoundControl(HWND window, std::chrono::milliseconds quietBeforeReleaseMs)
    : ownWindow_(makeMessageWindow()),
      soundWindow_(window == nullptr ? ownWindow_.get() : window),
      quietBeforeReleaseMs_(quietBeforeReleaseMs),
      device_(std::in_place, soundWindow_) {
  if (ownWindow_)
    SetWindowLongPtrW(ownWindow_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  startChecks();
}

DirectSoundControl::~DirectSoundControl() = default;

void DirectSoundControl::setVisible(bool) {}

SoundHandle DirectSoundControl::LoadWave(const std::string& fileName) {
  auto sound = std::make_unique<Sound>();
  sound->fileName = fileName;
  IDirectSound8* device = device_ ? device_->device(kDeviceWaitMs) : nullptr;
  // Without a device every sound plays nothing, which the device has said once already.
  if (!device_ || !device_->hasFailed()) {
    std::string problem;
    sound->wave = readWaveSamples(fileName, problem);
    if (!sound->wave)
      sayCannotRead(fileName, problem);
    else if (device != nullptr)
      createBuffer(*sound, *device);
  }
  sounds_.emplace(++lastHandle_, std::move(sound));
  return lastHandle_;
}

void DirectSoundControl::createBuffer(Sound& sound, IDirectSound8& device) {
  // A sound at the rate the system mixes at is copied as it is on every buffer the mixer fills,
  // where one at another rate is filtered there sample by sample, every time it plays.
  const int mixRateHz = device_->mixRateHz();
  std::optional<WaveSamples> converted;
  if (mixRateHz >= static_cast<int>(kLowestSampleRateHz) && mixRateHz <= kHighestMixRateHz &&
      sound.wave->format.nSamplesPerSec != static_cast<DWORD>(mixRateHz))
    converted = resampled(*sound.wave, mixRateHz);
  const WaveSamples& wave = converted ? *converted : *sound.wave;
  WAVEFORMATEX format = wave.format;
  DSBUFFERDESC description{};
  description.dwSize = sizeof description;
  description.dwFlags = DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;
  description.dwBufferBytes = static_cast<DWORD>(wave.bytes.size());
  description.lpwfxFormat = &format;
  IDirectSoundBuffer* created = nullptr;
  HRESULT result = device.CreateSoundBuffer(&description, &created, nullptr);
  ComPtr<IDirectSoundBuffer> buffer(SUCCEEDED(result) ? created : nullptr);
  void* first = nullptr;
  void* second = nullptr;
  DWORD firstBytes = 0;
  DWORD secondBytes = 0;
  if (buffer) {
    result = buffer->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER);
  }
  if (FAILED(result) || firstBytes != wave.bytes.size()) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
    sayCannotRead(sound.fileName, std::string("DirectSound cannot play it (") + code + ")");
    if (first != nullptr)
      buffer->Unlock(first, firstBytes, second, secondBytes);
    sound.wave.reset();  // said once: the sound plays nothing from now on
    return;
  }
  std::memcpy(first, wave.bytes.data(), wave.bytes.size());
  buffer->Unlock(first, firstBytes, second, secondBytes);
  buffer->SetVolume(sound.volume);
  sound.buffer = std::move(buffer);
}

void DirectSoundControl::PlaySound(SoundHandle sound, int, int) {
  Sound* found = find(sound);
  if (found == nullptr || (!found->wave && !found->buffer))
    return;
  if (!device_) {
    device_.emplace(soundWindow_);
    startChecks();
  }
  IDirectSound8* device = device_->device();
  if (device == nullptr) {
    found->waitsForDevice = !device_->hasFailed();
    return;
  }
  if (!found->buffer)
    createBuffer(*found, *device);
  start(*found);
}

void DirectSoundControl::start(Sound& sound) {
  if (!sound.buffer)
    return;
  DWORD status = 0;
  // A sound that is playing goes on; it does not start again.
  if (SUCCEEDED(sound.buffer->GetStatus(&status)) && (status & DSBSTATUS_PLAYING) != 0)
    return;
  sound.buffer->SetCurrentPosition(0);
  sound.buffer->Play(0, 0, 0);
}

void DirectSoundControl::SetVolume(SoundHandle sound, int volume) {
  Sound* found = find(sound);
  if (found == nullptr)
    return;
  found->volume = std::clamp(volume, kQuietestVolume, kLoudestVolume);
  if (found->buffer)
    found->buffer->SetVolume(found->volume);
}

void DirectSoundControl::StopSound(SoundHandle sound) {
  Sound* found = find(sound);
  if (found == nullptr)
    return;
  found->waitsForDevice = false;
  if (found->buffer)
    found->buffer->Stop();
}

void DirectSoundControl::ReleaseSound(SoundHandle sound) {
  StopSound(sound);
  sounds_.erase(sound);
}

void DirectSoundControl::StopAll() {
  for (auto& [handle, sound] : sounds_) {
    sound->waitsForDevice = false;
    if (sound->buffer)
      sound->buffer->Stop();
  }
}

void DirectSoundControl::startChecks() {
  quietMs_ = std::chrono::milliseconds(0);
  if (ownWindow_)
    SetTimer(ownWindow_.get(), kCheckTimerId, static_cast<UINT>(kCheckEveryMs.count()),
             &onCheckTimer);
}

void CALLBACK DirectSoundControl::onCheckTimer(HWND window, UINT, UINT_PTR, DWORD) {
  if (auto* control =
          reinterpret_cast<DirectSoundControl*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
    control->checkDevice();
}

void DirectSoundControl::checkDevice() {
  IDirectSound8* device = device_ ? device_->device() : nullptr;
  if (device == nullptr) {
    // A device that could not open is not checked again; one still opening is.
    if (!device_ || device_->hasFailed())
      KillTimer(ownWindow_.get(), kCheckTimerId);
    return;
  }
  bool playing = false;
  for (auto& [handle, sound] : sounds_) {
    if (sound->waitsForDevice) {
      sound->waitsForDevice = false;
      if (!sound->buffer && sound->wave)
        createBuffer(*sound, *device);
      start(*sound);
    }
    DWORD status = 0;
    if (sound->buffer && SUCCEEDED(sound->buffer->GetStatus(&status)) &&
        (status & DSBSTATUS_PLAYING) != 0)
      playing = true;
  }
  quietMs_ = playing ? std::chrono::milliseconds(0) : quietMs_ + kCheckEveryMs;
  if (quietMs_ >= quietBeforeReleaseMs_)
    releaseDevice();
}

void DirectSoundControl::releaseDevice() {
  KillTimer(ownWindow_.get(), kCheckTimerId);
  for (auto& [handle, sound] : sounds_) sound->buffer.reset();
  device_.reset();
}

DirectSoundControl::Sound* DirectSoundControl::find(SoundHandle sound) {
  const auto it = sounds_.find(sound);
  return it == sounds_.end() ? nullptr : it->second.get();
}

}  // namespace skyfare
