#pragma once

#include <array>
#include <string>

#include "core/controls/drawing_control.h"
#include "core/saver/aircraft_table.h"

namespace skyfare {

// The sprites of one display session, as the drawing component numbered them. A handle of 0
// means the sprite was not made (no picture background, logo off, or no display).
struct Scene {
  std::string installFolder;
  SpriteHandle backgroundSprite = 0;
  SpriteHandle logoSprite = 0;
  SpriteHandle jetSprite = 0;
  std::array<SpriteHandle, kAirlinerCount> planeSprite{};

  SpriteHandle airliner(int number) const { return planeSprite[number - 1]; }
};

}  // namespace skyfare
