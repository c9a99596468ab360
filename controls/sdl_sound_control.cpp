#include "controls/sdl_sound_control.h"

#include <SDL_mixer.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <set>

#include "controls/regular_file.h"
#include "controls/sdl_volume_gain.h"
#include "core/sound/wave_check.h"

namespace skyfare {

namespace {

// How long loading a sound waits for a device still opening; a later play decodes it.
constexpr std::chrono::milliseconds kDeviceWaitMs{250};

// A mixer effect: scales the channel's samples, in the mixer's pinned 16-bit format, by the
// sound's gain before they are mixed.
void applyGain(int, void* stream, int lengthBytes, void* userData) {
  const float gain = static_cast<const std::atomic<float>*>(userData)->load();
  auto* samples = static_cast<std::int16_t*>(stream);
  const int count = lengthBytes / static_cast<int>(sizeof(std::int16_t));
  for (int i = 0; i < count; ++i)
    samples[i] = static_cast<std::int16_t>(std::lround(samples[i] * gain));
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
  SDL_RWops* source = SDL_RWFromConstMem(sound.wave.data(), static_cast<int>(sound.wave.size()));
  sound.chunk.reset(Mix_LoadWAV_RW(source, 1));
  std::vector<unsigned char>().swap(sound.wave);
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
