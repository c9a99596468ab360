#include "controls/sdl_sound_control.h"

#include <SDL_mixer.h>

#include <cmath>
#include <cstdint>
#include <iostream>
#include <set>

#include "controls/sdl_volume_gain.h"

namespace skyfare {

namespace {

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
  if (device_.isOpen()) {
    sound->chunk.reset(Mix_LoadWAV(fileName.c_str()));
    if (sound->chunk) {
      sound->channel = freeChannel();
      if (sound->channel >= Mix_AllocateChannels(-1))
        Mix_AllocateChannels(sound->channel + 1);
    } else {
      std::cerr << "skyfare: cannot read sound file " << fileName << '\n';
    }
  }
  sounds_.emplace(++lastHandle_, std::move(sound));
  return lastHandle_;
}

void SdlSoundControl::PlaySound(SoundHandle sound, int, int) {
  Sound* found = find(sound);
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
