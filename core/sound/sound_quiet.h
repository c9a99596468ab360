#pragma once

#include <chrono>

namespace skyfare {

// How long the sound components let a device run silent before they close it. Long enough that
// the jet's sound, asked for again on every frame while it passes, keeps one device; short
// enough that the silence after it costs next to nothing.
inline constexpr std::chrono::milliseconds kSoundQuietBeforeCloseMs{2000};

}  // namespace skyfare
