#pragma once

namespace skyfare {

// What Form1::ComposeFrame draws with. Colours as the drawing component takes them (red in the
// low byte).
inline constexpr unsigned kBlack = 0;
inline constexpr unsigned kSkyBlue = 16507392;      // 0, 226, 251
inline constexpr unsigned kMessageCyan = 16776960;  // 0, 255, 255
inline constexpr unsigned kClockYellow = 65535;     // 255, 255, 0

inline constexpr int kMessageX = 5;
inline constexpr int kMessageBaseY = 590;
inline constexpr const char* kClockFontName = "Arial";

}  // namespace skyfare
