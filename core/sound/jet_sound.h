#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/controls/sound_control.h"
#include "core/settings/setting_values.h"

namespace skyfare {

inline constexpr const char* kJetSoundFile = "takeoff.wav";

// The seconds after which the jet sound stops, for a SoundOff text that equals one of the
// offered minute values (kSoundOffMinutes) numerically; nothing for "Never" or any other text.
std::optional<std::int16_t> soundLimitFor(const std::string& soundOff);

// The jet sound of a display session: the loaded take-off sound, whether the jet flies at all,
// and the automatic stop, which silences everything for the rest of the session once the chosen
// time has run out.
class JetSound {
 public:
  explicit JetSound(SoundControl& sound) : sound_(sound) {}

  // OpenDirectSoundSession: loads the take-off sound and keeps it silent until the jet plays it.
  void OpenDirectSoundSession(const std::string& installFolder, const std::string& prop);
  // SoundOff: sets the time limit from the setting; the limit stays 0 for an unknown value.
  void SoundOff(const std::string& soundOff);
  // tmrSound's tick.
  void tick(const std::string& soundOff);

  SoundHandle jetSoundHandle() const { return jetSoundHandle_; }
  bool fastJetEnabled() const { return fastJetEnabled_; }
  bool soundStopped() const { return soundStopped_; }

 private:
  SoundControl& sound_;
  SoundHandle jetSoundHandle_ = 0;
  bool fastJetEnabled_ = false;
  std::int16_t soundLimitSeconds_ = 0;
  std::int32_t soundElapsedSeconds_ = 0;
  bool soundStopped_ = false;
};

}  // namespace skyfare
