#pragma once

#include "assets/sprite_finish.h"

#include <QRgb>
#include <span>

namespace skyfare::assets {

enum class EngineLayout { TwinUnderWing, FourUnderWing, TwinRear };

enum class TailMark { Circle, Stripes, Chevron, Band, Diamond, Star, Wave };

// How the cheat line runs: a stripe under the window row, or a band the windows sit in.
enum class CheatLine { BelowWindows, ThroughWindows };

struct Livery {
  QRgb crown;      // fuselage above the cheat line
  QRgb belly;      // fuselage below it
  QRgb cheatLine;  // the stripe along the windows
  QRgb pinLine;    // thin second stripe under it
  QRgb tail;
  QRgb tailMark;
  QRgb engines;
  CheatLine cheat;
  TailMark mark;
};

// One airliner picture: its file, size, direction of flight and type.
struct AirlinerLook {
  const char* fileName;
  int widthPx;
  Facing facing;
  EngineLayout engines;
  bool upperDeck;
  bool wideBody;
  Livery livery;
};

// The fifteen airliners of the relay, each with a livery of its own.
std::span<const AirlinerLook> airlinerFleet();

}  // namespace skyfare::assets
