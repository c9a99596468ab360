#include "core/sound/jet_sound.h"

#include <array>
#include <utility>

#include "core/settings/conversions.h"

namespace skyfare {
namespace {

// The counter goes back to 0 after this many seconds, a little short of a day.
inline constexpr std::int32_t kLastElapsedSecond = 86398;

inline constexpr std::array<std::pair<int, std::int16_t>, 19> kSoundLimits = {{
    {1, 60},      {2, 120},     {3, 180},     {4, 240},     {5, 300},     {10, 600},   {15, 900},
    {20, 1200},   {30, 1800},   {45, 2700},   {60, 3600},   {90, 5400},   {120, 7200}, {180, 10800},
    {240, 14400}, {300, 18000}, {360, 21600}, {420, 25200}, {480, 28800},
}};

}  // namespace

std::optional<std::int16_t> soundLimitFor(const std::string& soundOff) {
  if (!isNumericText(soundOff))
    return std::nullopt;
  const double minutes = leadingNumber(soundOff);
  for (const auto& [limitMinutes, seconds] : kSoundLimits) {
    if (minutes == limitMinutes)
      return seconds;
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
