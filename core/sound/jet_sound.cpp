#include "core/sound/jet_sound.h"

#include "core/settings/conversions.h"
#include "core/settings/setting_values.h"

namespace skyfare {
namespace {

// The counter goes back to 0 after this many seconds, a little short of a day.
inline constexpr std::int32_t kLastElapsedSecond = 86398;

inline constexpr int kSecondsPerMinute = 60;

}  // namespace

std::optional<std::int16_t> soundLimitFor(const std::string& soundOff) {
  if (!isNumericText(soundOff))
    return std::nullopt;
  const double minutes = leadingNumber(soundOff);
  for (const int offered : kSoundOffMinutes) {
    if (minutes == offered)
      return static_cast<std::int16_t>(offered * kSecondsPerMinute);
  }
  return std::nullopt;
}

void JetSound::OpenDirectSoundSession(const std::string& installFolder, const std::string& prop) {
  sound_.ReleaseSound(jetSoundHandle_);
  jetSoundHandle_ = sound_.LoadWave(installFolder + kJetSoundFile);
  sound_.StopSound(jetSoundHandle_);
  fastJetEnabled_ = leadingNumber(prop) == 1;
}

void JetSound::SoundOff(const std::string& soundOff) {
  if (const auto limit = soundLimitFor(soundOff))
    soundLimitSeconds_ = *limit;
}

void JetSound::tick(const std::string& soundOff) {
  if (soundOff == kNeverStopSound)
    return;
  ++soundElapsedSeconds_;
  if (soundElapsedSeconds_ >= soundLimitSeconds_) {
    sound_.StopAll();
    soundStopped_ = true;
  }
  if (soundElapsedSeconds_ > kLastElapsedSecond)
    soundElapsedSeconds_ = 0;
}

}  // namespace skyfare
