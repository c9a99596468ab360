#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace skyfare {

inline constexpr int kAirlinerCount = 15;

// How one aircraft steps: the level step moves it by (horizontal, 0), the drift step by
// (horizontal, vertical). A positive vertical step descends.
struct MovementSteps {
  int horizontal;
  int vertical;
};

// One airliner of the relay: its picture and start position, its steps, its rhythm of drift and
// level frames, where it parks and where it hands the sky to the next one. An airliner "passes"
// a line when its X is beyond it in its direction of flight (strictly).
struct AirlinerRow {
  std::string_view bitmapFile;
  int startX;
  int startY;
  MovementSteps steps;
  int driftFrames;
  int levelFrames;
  int parkLine;
  int parkX;
  std::optional<int> parkY;  // none: the height drawn at its last hand-over
  int handOverLine;

  bool fliesRight() const { return steps.horizontal > 0; }
  bool passes(std::int32_t x, int line) const { return fliesRight() ? x > line : x < line; }
};

// Airliner k is row k − 1. The file numbers do not follow the airliner numbers.
inline constexpr std::array<AirlinerRow, kAirlinerCount> kAirliners = {{
    {"jet01.bmp", -321, 180, {+1, +1}, 5, 10, 801, -321, 180, 700},
    {"jet03.bmp", 805, 200, {-1, -1}, 1, 8, -325, 805, std::nullopt, 100},
    {"jet02.bmp", -326, 180, {+1, +1}, 5, 10, 801, -326, std::nullopt, 700},
    {"jet04.bmp", 805, 100, {-1, +1}, 1, 16, -301, 805, std::nullopt, 100},
    {"jet06.bmp", -326, 500, {+1, +1}, 1, 10, 801, -326, std::nullopt, 700},
    {"jet05.bmp", 805, 300, {-1, -1}, 1, 8, -326, 805, std::nullopt, 100},
    {"jet07.bmp", -343, 175, {+1, -1}, 1, 20, 801, -343, std::nullopt, 801},
    {"jet10.bmp", 805, 70, {-1, -1}, 1, 17, -366, 805, std::nullopt, 100},
    {"jet08.bmp", -366, 290, {+1, +1}, 5, 10, 801, -366, std::nullopt, 700},
    {"jet11.bmp", 805, 330, {-1, +1}, 3, 15, -351, 805, std::nullopt, 100},
    {"jet09.bmp", -351, 80, {+1, +1}, 4, 20, 805, -351, std::nullopt, 700},
    {"jet12.bmp", 805, 370, {-1, +1}, 1, 18, -351, 805, std::nullopt, 100},
    {"jet14.bmp", -316, 120, {+1, +1}, 5, 10, 801, -316, std::nullopt, 700},
    {"jet13.bmp", 805, 250, {-1, +1}, 1, 20, -351, 805, std::nullopt, 100},
    {"mjet15.bmp", 805, 365, {-1, -1}, 15, 1, -326, 805, std::nullopt, 100},
}};

// The fast jet: picture, start position (also where it waits), steps and phase lengths.
struct FastJetRow {
  std::string_view bitmapFile = "FastJet.bmp";
  int startX = 805;
  int startY = 275;
  MovementSteps steps = {-2, +1};
  int driftFrames = 4;
  int levelFrames = 10;
  int levelLeaveLine = -300;
  int driftLeaveLine = -350;
  int soundLine = 801;  // the take-off sound plays once the jet is left of this line
};
inline constexpr FastJetRow kFastJet{};

}  // namespace skyfare
