#pragma once

#include <cstdint>
#include <string>

namespace skyfare {

using SoundHandle = std::int32_t;

inline constexpr int kQuietestVolume = -2500;  // hundredths of a decibel
inline constexpr int kLoudestVolume = 0;

// The sound component of the display session. A loaded sound is named by the handle that
// LoadWave returns, never 0. Calls with a handle that names no loaded sound are ignored.
class SoundControl {
 public:
  virtual ~SoundControl() = default;

  // The component's own window; the program keeps it hidden.
  virtual void setVisible(bool visible) = 0;

  virtual SoundHandle LoadWave(const std::string& fileName) = 0;
  // Starts the sound; a sound that is already playing goes on playing.
  virtual void PlaySound(SoundHandle sound, int flags, int loops) = 0;
  // volume from -2500 (quietest) to 0 (loudest), in hundredths of a decibel.
  virtual void SetVolume(SoundHandle sound, int volume) = 0;
  virtual void StopSound(SoundHandle sound) = 0;
  virtual void ReleaseSound(SoundHandle sound) = 0;
  virtual void StopAll() = 0;
};

}  // namespace skyfare
