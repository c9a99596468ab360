#include "sound/sdl_sound_control.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <optional>
#include <span>

#include "core/sound/wave_check.h"
#include "files/regular_file.h"
#include "sound/sdl_volume_gain.h"

namespace skyfare {

namespace {

// How long loading a sound waits for a device still opening; a later play decodes it.
constexpr std::chrono::milliseconds kDeviceWaitMs{250};
constexpr Uint32 kConversionPieceBytes = 64 * 1024;

// The checked wave's samples in the device's format, converted a piece at a time so that they
// take their own size and no more.
std::optional<std::vector<std::int16_t>> deviceSamples(const std::vector<unsigned char>& wave) {
  SDL_AudioSpec decodedFormat{};
  Uint8* decoded = nullptr;
  Uint32 decodedBytes = 0;
  if (SDL_LoadWAV_RW(SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size())), 1,
                     &decodedFormat, &decoded, &decodedBytes) == nullptr)
    return std::nullopt;
  const std::unique_ptr<Uint8, decltype(&SDL_FreeWAV)> ownedDecoded(decoded, &SDL_FreeWAV);
  constexpr int rateHz = kMixSampleRateHz;
  constexpr int channels = kMixChannelCount;
  constexpr SDL_AudioFormat format = AUDIO_S16SYS;
  const std::unique_ptr<SDL_AudioStream, decltype(&SDL_FreeAudioStream)> stream(
      SDL_NewAudioStream(decodedFormat.format, decodedFormat.channels, decodedFormat.freq, format,
                         static_cast<Uint8>(channels), rateHz),
      &SDL_FreeAudioStream);
  if (!stream)
    return std::nullopt;
  const std::size_t inFrameBytes =
      SDL_AUDIO_BITSIZE(decodedFormat.format) / 8 * decodedFormat.channels;
  const std::size_t outFrameBytes =
      SDL_AUDIO_BITSIZE(format) / 8 * static_cast<std::size_t>(channels);
  const std::uint64_t inFrames = decodedBytes / inFrameBytes;
  const std::size_t wantedBytes =
      static_cast<std::size_t>(inFrames * static_cast<std::uint64_t>(rateHz) / decodedFormat.freq) *
      outFrameBytes;
  constexpr std::size_t kSampleBytes = sizeof(std::int16_t);
  std::vector<std::int16_t> samples;
  samples.reserve((wantedBytes + kConversionPieceBytes) / kSampleBytes);
  const auto take = [&] {
    for (int ready = SDL_AudioStreamAvailable(stream.get()); ready > 0;
         ready = SDL_AudioStreamAvailable(stream.get())) {
      const std::size_t had = samples.size();
      samples.resize(had + static_cast<std::size_t>(ready) / kSampleBytes);
      const int got = SDL_AudioStreamGet(stream.get(), samples.data() + had,
                                         static_cast<int>((samples.size() - had) * kSampleBytes));
      samples.resize(had + static_cast<std::size_t>(std::max(got, 0)) / kSampleBytes);
      if (got <= 0)
        return;
    }
  };
  const auto put = [&](const Uint8* bytes, Uint32 count) {
    for (Uint32 at = 0; at < count; at += kConversionPieceBytes) {
      if (SDL_AudioStreamPut(stream.get(), bytes + at,
                             static_cast<int>(std::min(kConversionPieceBytes, count - at))) != 0)
        return false;
      take();
    }
    return true;
  };
  // The resampler holds back the last frames even when flushed, so silence follows the wave
  // through it and is cut off again after.
  const std::size_t trailingFrames = std::max(1024, decodedFormat.freq / 10);
  const std::vector<Uint8> silence(trailingFrames * inFrameBytes,
                                   decodedFormat.format == AUDIO_U8 ? 0x80 : 0x00);
  if (!put(decoded, static_cast<Uint32>(inFrames * inFrameBytes)) ||
      !put(silence.data(), static_cast<Uint32>(silence.size())) ||
      SDL_AudioStreamFlush(stream.get()) != 0)
    return std::nullopt;
  take();
  samples.resize(std::min(samples.size(), wantedBytes / kSampleBytes));
  return samples;
}

}  // namespace

SdlSoundControl::SdlSoundControl(std::chrono::milliseconds quietBeforeCloseMs)
    : device_(*this, quietBeforeCloseMs) {}

SdlSoundControl::~SdlSoundControl() {
  // The device outlives the sounds it plays from, so it must stop reading them first.
  device_.detachSource();
}

void SdlSoundControl::setVisible(bool) {}

SoundHandle SdlSoundControl::LoadWave(const std::string& fileName) {
  auto sound = std::make_unique<Sound>();
  sound->fileName = fileName;
  // Without a device every sound plays nothing, which the device has said once already.
  if (!device_.canPlay(kDeviceWaitMs) && device_.hasFailed()) {
    sounds_.emplace(++lastHandle_, std::move(sound));
    return lastHandle_;
  }
  RegularFile file(fileName);
  std::string problem = file.problem();
  if (problem.empty() && file.sizeBytes() > kLargestSoundFileBytes)
    problem = "too large";
  if (problem.empty()) {
    auto content = file.readAll(kLargestSoundFileBytes);
    problem = content ? waveProblem(content->data(), content->size(), kMixSampleRateHz)
                      : std::string("cannot be read");
    if (problem.empty())
      sound->wave = std::move(*content);
  }
  if (!problem.empty())
    std::cerr << "skyfare: cannot read sound file " << fileName << ": " << problem << '\n';
  else if (device_.canPlay())
    decode(*sound);
  sounds_.emplace(++lastHandle_, std::move(sound));
  return lastHandle_;
}

void SdlSoundControl::decode(Sound& sound) {
  std::optional<std::vector<std::int16_t>> samples = deviceSamples(sound.wave);
  std::vector<unsigned char>().swap(sound.wave);
  if (!samples) {
    std::cerr << "skyfare: cannot read sound file " << sound.fileName << ": " << SDL_GetError()
              << '\n';
    return;
  }
  sound.samples = std::move(*samples);
  sound.decoded = true;
}

void SdlSoundControl::PlaySound(SoundHandle sound, int, int) {
  Sound* found = find(sound);
  if (found != nullptr && !found->wave.empty() && device_.canPlay())
    decode(*found);
  if (found == nullptr || !found->decoded)
    return;
  const QuietClosingAudioDevice::Pause pause(device_, QuietClosingAudioDevice::Sound::MayStart);
  // A sound that is playing goes on; it does not start again.
  if (std::none_of(playing_.begin(), playing_.end(),
                   [found](const Playing& p) { return p.sound == found; }))
    playing_.push_back({found, 0});
}

void SdlSoundControl::SetVolume(SoundHandle sound, int volume) {
  if (Sound* found = find(sound))
    found->gain = gainForVolume(volume);
}

void SdlSoundControl::StopSound(SoundHandle sound) {
  if (const Sound* found = find(sound))
    stop(*found);
}

void SdlSoundControl::ReleaseSound(SoundHandle sound) {
  StopSound(sound);
  sounds_.erase(sound);
}

void SdlSoundControl::StopAll() {
  const QuietClosingAudioDevice::Pause pause(device_, QuietClosingAudioDevice::Sound::Stays);
  playing_.clear();
}

void SdlSoundControl::stop(const Sound& sound) {
  const QuietClosingAudioDevice::Pause pause(device_, QuietClosingAudioDevice::Sound::Stays);
  std::erase_if(playing_, [&sound](const Playing& p) { return p.sound == &sound; });
}

bool SdlSoundControl::fill(std::span<std::int16_t> samples) {
  std::fill(samples.begin(), samples.end(), std::int16_t{0});
  for (Playing& play : playing_) {
    const std::vector<std::int16_t>& from = play.sound->samples;
    const float gain = play.sound->gain.load();
    const std::size_t count = std::min(samples.size(), from.size() - play.nextSample);
    for (std::size_t i = 0; i < count; ++i) {
      const long mixed = samples[i] + std::lround(from[play.nextSample + i] * gain);
      samples[i] = static_cast<std::int16_t>(std::clamp<long>(mixed, INT16_MIN, INT16_MAX));
    }
    play.nextSample += count;
  }
  std::erase_if(playing_, [](const Playing& p) { return p.nextSample >= p.sound->samples.size(); });
  return !playing_.empty();
}

SdlSoundControl::Sound* SdlSoundControl::find(SoundHandle sound) {
  const auto it = sounds_.find(sound);
  return it == sounds_.end() ? nullptr : it->second.get();
}

}  // namespace skyfare
