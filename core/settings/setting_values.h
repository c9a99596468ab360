#pragma once

#include <array>
#include <string_view>

namespace skyfare {

// The values of BackGround, in the order the dialog offers them.
inline constexpr int kBackgroundBlack = 1;
inline constexpr int kBackgroundSkyBlue = 2;
inline constexpr int kBackgroundPicture = 3;

// The values of SoundOff: "Never", or the minutes of sound before the automatic stop, in the
// order the dialog offers them.
inline constexpr std::string_view kNeverStopSound = "Never";
inline constexpr std::array<int, 19> kSoundOffMinutes = {
    1, 2, 3, 4, 5, 10, 15, 20, 30, 45, 60, 90, 120, 180, 240, 300, 360, 420, 480};

}  // namespace skyfare
