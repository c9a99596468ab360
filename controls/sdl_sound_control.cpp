#include "controls/sdl_sound_control.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <optional>
#include <set>

#include "controls/regular_file.h"
#include "controls/sdl_volume_gain.h"
#include "core/sound/wave_check.h"

namespace skyfare {

namespace {

// How long loading a sound waits for a device still opening; a later play decodes it.
constexpr std::chrono::milliseconds kDeviceWaitMs{250};
constexpr Uint32 kConversionPieceBytes = 64 * 1024;

// A mixer effect: scales the channel's samples, in the mixer's pinned 16-bit format, by the
// sound's gain before they are mixed.
void applyGain(int, void* stream, int lengthBytes, void* userData) {
  const float gain = static_cast<const std::atomic<float>*>(userData)->load();
  auto* samples = static_cast<std::int16_t*>(stream);
  const int count = lengthBytes / static_cast<int>(sizeof(std::int16_t));
  for (int i = 0; i < count; ++i)
    samples[i] = static_cast<std::int16_t>(std::lround(samples[i] * gain));
}

// The checked wave's samples in the mixer's format, converted a piece at a time so that they
// take their own size and no more: the mixer's own loader keeps a buffer many times larger.
std::optional<std::vector<Uint8>> mixerSamples(const std::vector<unsigned char>& wave) {
  SDL_AudioSpec spec{};
  Uint8* decoded = nullptr;
  Uint32 decodedBytes = 0;
  if (SDL_LoadWAV_RW(SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size())), 1, &spec,
                     &decoded, &decodedBytes) == nullptr)
    return std::nullopt;
  const std::unique_ptr<Uint8, decltype(&SDL_FreeWAV)> ownedDecoded(decoded, &SDL_FreeWAV);
  int rateHz = 0;
  Uint16 format = 0;
  int channels = 0;
  if (Mix_QuerySpec(&rateHz, &format, &channels) == 0)
    return std::nullopt;
  const std::unique_ptr<SDL_AudioStream, decltype(&SDL_FreeAudioStream)> stream(
      SDL_NewAudioStream(spec.format, spec.channels, spec.freq, format,
                         static_cast<Uint8>(channels), rateHz),
      &SDL_FreeAudioStream);
  if (!stream)
    return std::nullopt;
  const std::size_t inFrameBytes = SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels;
  const std::size_t outFrameBytes =
      SDL_AUDIO_BITSIZE(format) / 8 * static_cast<std::size_t>(channels);
  const std::uint64_t inFrames = decodedBytes / inFrameBytes;
  const std::size_t wantedBytes =
      static_cast<std::size_t>(inFrames * static_cast<std::uint64_t>(rateHz) / spec.freq) *
      outFrameBytes;
  std::vector<Uint8> samples;
  samples.reserve(wantedBytes + kConversionPieceBytes);
  const auto take = [&] {
    for (int ready = SDL_AudioStreamAvailable(stream.get()); ready > 0;
         ready = SDL_AudioStreamAvailable(stream.get())) {
      const std::size_t had = samples.size();
      samples.resize(had + static_cast<std::size_t>(ready));
      const int got = SDL_AudioStreamGet(stream.get(), samples.data() + had, ready);
      samples.resize(had + static_cast<std::size_t>(std::max(got, 0)));
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
  const std::size_t trailingFrames = std::max(1024, spec.freq / 10);
  const std::vector<Uint8> silence(trailingFrames * inFrameBytes,
                                   spec.format == AUDIO_U8 ? 0x80 : 0x00);
  if (!put(decoded, static_cast<Uint32>(inFrames * inFrameBytes)) ||
      !put(silence.data(), static_cast<Uint32>(silence.size())) ||
      SDL_AudioStreamFlush(stream.get()) != 0)
    return std::nullopt;
  take();
  samples.resize(std::min(samples.size(), wantedBytes));
  return samples;
}

}  // namespace

void SdlSoundControl::ChunkDeleter::operator()(Mix_Chunk* chunk) const {
  // Also halts any channel still playing the chunk.
  Mix_FreeChunk(chunk);
}

SdlSoundControl::SdlSoundControl() = default;

void SdlSoundControl::setVisible(bool) {}

SoundHandle SdlSoundControl::LoadWave(const std::string& fileName) {
  auto sound = std::make_unique<Sound>();
  sound->fileName = fileName;
  // Without a device every sound plays nothing, which the device has said once already.
  if (!device_.isOpen(kDeviceWaitMs) && device_.hasFailed()) {
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
  else if (device_.isOpen())
    decode(*sound);
  sounds_.emplace(++lastHandle_, std::move(sound));
  return lastHandle_;
}

void SdlSoundControl::decode(Sound& sound) {
  std::optional<std::vector<Uint8>> samples = mixerSamples(sound.wave);
  std::vector<unsigned char>().swap(sound.wave);
  if (samples) {
    sound.samples = std::move(*samples);
    sound.chunk.reset(
        Mix_QuickLoad_RAW(sound.samples.data(), static_cast<Uint32>(sound.samples.size())));
  }
  if (!sound.chunk) {
    std::cerr << "skyfare: cannot read sound file " << sound.fileName << ": " << Mix_GetError()
              << '\n';
    return;
  }
  sound.channel = freeChannel();
  if (sound.channel >= Mix_AllocateChannels(-1))
    Mix_AllocateChannels(sound.channel + 1);
}

void SdlSoundControl::PlaySound(SoundHandle sound, int, int) {
  Sound* found = find(sound);
  if (found != nullptr && !found->wave.empty() && device_.isOpen())
    decode(*found);
  if (found == nullptr || !found->chunk || Mix_Playing(found->channel) != 0)
    return;
  // A channel loses its effects when it stops, so each play registers the gain afresh, before
  // the first samples are mixed.
  Mix_UnregisterAllEffects(found->channel);
  Mix_RegisterEffect(found->channel, applyGain, nullptr, &found->gain);
  if (Mix_PlayChannel(found->channel, found->chunk.get(), 0) < 0)
    Mix_UnregisterAllEffects(found->channel);
}

void SdlSoundControl::SetVolume(SoundHandle sound, int volume) {
  if (Sound* found = find(sound))
    found->gain = gainForVolume(volume);
}

void SdlSoundControl::StopSound(SoundHandle sound) {
  if (Sound* found = find(sound); found != nullptr && found->chunk)
    Mix_HaltChannel(found->channel);
}

void SdlSoundControl::ReleaseSound(SoundHandle sound) {
  StopSound(sound);
  sounds_.erase(sound);
}

void SdlSoundControl::StopAll() {
  if (device_.isOpen())
    Mix_HaltChannel(-1);
}

SdlSoundControl::Sound* SdlSoundControl::find(SoundHandle sound) {
  const auto it = sounds_.find(sound);
  return it == sounds_.end() ? nullptr : it->second.get();
}

int SdlSoundControl::freeChannel() const {
  std::set<int> used;
  for (const auto& [handle, sound] : sounds_) used.insert(sound->channel);
  int channel = 0;
  while (used.count(channel) != 0) ++channel;
  return channel;
}

}  // namespace skyfare
