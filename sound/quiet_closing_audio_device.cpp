#include "sound/quiet_closing_audio_device.h"

namespace skyfare {

QuietClosingAudioDevice::QuietClosingAudioDevice(AudioSource& source,
                                                 std::chrono::milliseconds quietBeforeCloseMs)
    : source_(source),
      quietBeforeCloseMs_(quietBeforeCloseMs),
      device_(openDevice()),
      closer_([this] { closeWhenQuiet(); }) {}

QuietClosingAudioDevice::~QuietClosingAudioDevice() {
  {
    const std::scoped_lock lock(quietMutex_);
    ending_ = true;
  }
  quietChanged_.notify_all();
  closer_.join();
  const std::scoped_lock lock(deviceMutex_);
  device_.reset();
}

bool QuietClosingAudioDevice::canPlay(std::chrono::milliseconds wait) {
  const std::scoped_lock lock(deviceMutex_);
  return device_ == nullptr || device_->isOpen(wait);
}

bool QuietClosingAudioDevice::hasFailed() {
  const std::scoped_lock lock(deviceMutex_);
  return device_ != nullptr && device_->hasFailed();
}

void QuietClosingAudioDevice::detachSource() {
  const std::scoped_lock lock(deviceMutex_);
  detached_ = true;
  if (device_ != nullptr)
    device_->detachSource();
}

QuietClosingAudioDevice::Pause::Pause(QuietClosingAudioDevice& device, Sound sound)
    : device_(device), lock_(device.deviceMutex_) {
  if (device_.device_ == nullptr && sound == Sound::MayStart && !device_.detached_)
    device_.device_ = device_.openDevice();
  if (device_.device_ != nullptr)
    devicePause_.emplace(*device_.device_);
}

QuietClosingAudioDevice::Pause::~Pause() {
  devicePause_.reset();
  device_.soundMayFollow();
}

std::unique_ptr<SdlAudioDevice> QuietClosingAudioDevice::openDevice() {
  AudioSource& playedThrough = *this;
  return std::make_unique<SdlAudioDevice>(playedThrough);
}

bool QuietClosingAudioDevice::fill(std::span<std::int16_t> samples) {
  const bool more = source_.fill(samples);
  if (!more) {
    {
      const std::scoped_lock lock(quietMutex_);
      if (quiet_)
        return more;
      quiet_ = true;
    }
    quietChanged_.notify_all();
  }
  return more;
}

void QuietClosingAudioDevice::soundMayFollow() {
  {
    const std::scoped_lock lock(quietMutex_);
    if (!quiet_)
      return;
    quiet_ = false;
  }
  quietChanged_.notify_all();
}

void QuietClosingAudioDevice::closeWhenQuiet() {
  std::unique_lock quiet(quietMutex_);
  while (!ending_) {
    quietChanged_.wait(quiet, [this] { return ending_ || quiet_; });
    // Any sound asked for meanwhile clears the quiet and starts the count again.
    if (quietChanged_.wait_for(quiet, quietBeforeCloseMs_, [this] { return ending_ || !quiet_; }))
      continue;
    quiet.unlock();
    {
      const std::scoped_lock lock(deviceMutex_);
      // Under the device's mutex no sound can be asked for, so a quiet still standing holds.
      bool stillQuiet = false;
      {
        const std::scoped_lock again(quietMutex_);
        stillQuiet = quiet_ && !ending_;
        quiet_ = false;
      }
      if (stillQuiet)
        device_.reset();
    }
    quiet.lock();
  }
}

}  // namespace skyfare
