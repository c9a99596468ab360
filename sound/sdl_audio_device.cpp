#include "sound/sdl_audio_device.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
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
  SDL_AudioDeviceID deviceId = 0;
  // Read on the audio thread, which holds the device's lock while it asks for samples.
  AudioSource* source = nullptr;
};

namespace {

// SDL's audio subsystem is one for the whole process, whichever device object opens it.
struct ProcessAudio {
  std::mutex turn;  // held while SDL's audio is opened or closed
  std::atomic<int> openingsLeftBehind{0};
};

ProcessAudio& processAudio() {
  static ProcessAudio audio;
  return audio;
}

void closeDevice(bool subsystemOpen, SDL_AudioDeviceID deviceId) {
  if (deviceId != 0)
    SDL_CloseAudioDevice(deviceId);
  if (subsystemOpen)
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace

void SdlAudioDevice::fillFromSource(void* opening, unsigned char* stream, int bytes) {
  const std::span samples(reinterpret_cast<std::int16_t*>(stream),
                          static_cast<std::size_t>(bytes) / sizeof(std::int16_t));
  if (AudioSource* source = static_cast<const Opening*>(opening)->source)
    source->fill(samples);
  else
    std::fill(samples.begin(), samples.end(), std::int16_t{0});
}

SdlAudioDevice::SdlAudioDevice(AudioSource& source) : opening_(std::make_shared<Opening>()) {
  opening_->source = &source;
  // Without this SDL installs handlers that make the process ignore SIGTERM.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  std::thread([opening = opening_]() mutable {
    const bool abandoned = openOn(*opening);
    // SDL frees what it keeps for a thread of its own making (its error text) when that thread
    // ends; for this one it has to be told.
    SDL_TLSCleanup();
    // The last owner of the opening gives ALSA its messages back: the thread's last call there.
    opening.reset();
    if (abandoned)
      --processAudio().openingsLeftBehind;
  }).detach();
}

SdlAudioDevice::~SdlAudioDevice() {
  detachSource();
  {
    const std::scoped_lock lock(opening_->mutex);
    // Nothing on the way out waits for a sound server that does not answer.
    if (!opening_->done) {
      opening_->abandoned = true;
      ++processAudio().openingsLeftBehind;
      return;
    }
  }
  const std::scoped_lock turn(processAudio().turn);
  closeDevice(opening_->subsystemOpen, opening_->deviceId);
}

bool SdlAudioDevice::openingLeftBehind() {
  return processAudio().openingsLeftBehind > 0;
}

bool SdlAudioDevice::isOpen(std::chrono::milliseconds wait) const {
  std::unique_lock lock(opening_->mutex);
  opening_->finished.wait_for(lock, wait, [this] { return opening_->done; });
  return opening_->done && opening_->deviceId != 0;
}

bool SdlAudioDevice::hasFailed() const {
  const std::scoped_lock lock(opening_->mutex);
  return opening_->done && opening_->deviceId == 0;
}

void SdlAudioDevice::detachSource() {
  const std::scoped_lock lock(opening_->mutex);
  // Before the device is open the audio thread has not started.
  if (opening_->deviceId != 0)
    SDL_LockAudioDevice(opening_->deviceId);
  opening_->source = nullptr;
  if (opening_->deviceId != 0)
    SDL_UnlockAudioDevice(opening_->deviceId);
}

SdlAudioDevice::Pause::Pause(const SdlAudioDevice& device)
    : openingLock_(device.opening_->mutex), deviceId_(device.opening_->deviceId) {
  if (deviceId_ != 0)
    SDL_LockAudioDevice(deviceId_);
}

SdlAudioDevice::Pause::~Pause() {
  if (deviceId_ != 0)
    SDL_UnlockAudioDevice(deviceId_);
}

bool SdlAudioDevice::openOn(Opening& opening) {
  const std::scoped_lock turn(processAudio().turn);
  const bool subsystemOpen = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
  SDL_AudioSpec wanted{};
  wanted.freq = kMixSampleRateHz;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = kMixChannelCount;
  wanted.samples = kMixBufferFrames;
  wanted.callback = fillFromSource;
  wanted.userdata = &opening;
  // No format changes allowed: SDL converts what the source gives to what the hardware takes.
  const SDL_AudioDeviceID deviceId =
      subsystemOpen ? SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0) : 0;
  const std::scoped_lock lock(opening.mutex);
  if (opening.abandoned) {
    closeDevice(subsystemOpen, deviceId);
    return true;
  }
  if (deviceId == 0) {
    std::cerr << "skyfare: no audio device; the saver runs silent\n";
    // Nothing opens this device again, so SDL's audio goes now rather than with the device:
    // it keeps a thread that looks for new sound cards ten times a second.
    closeDevice(subsystemOpen, 0);
    opening.subsystemOpen = false;
  } else {
    SDL_PauseAudioDevice(deviceId, 0);
    opening.subsystemOpen = subsystemOpen;
  }
  opening.deviceId = deviceId;
  opening.done = true;
  opening.finished.notify_all();
  return false;
}

}  // namespace skyfare
