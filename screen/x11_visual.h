#pragma once

#include <xcb/xcb.h>

#include <cstdint>

namespace skyfare {

// True when a window of the depth and visual stores a pixel as Qt's RGB32 does: 32 bits, blue
// in the lowest byte, so pictures can go to the server as they are.
bool visualMatchesRgb32(const xcb_setup_t* setup, std::uint8_t depth, xcb_visualid_t visual);

}  // namespace skyfare
