#pragma once

#include <cstdint>

namespace skyfare {

// Counts kept by the Windows drawing component, for tests and measurements.
struct PresentationStatistics {
  std::int64_t framesComposed = 0;       // Flip calls
  std::int64_t framesPresented = 0;      // Flips that copied anything to a window
  std::int64_t rectanglesPresented = 0;  // rectangles copied to windows by Flips
  std::int64_t pixelsPresented = 0;      // their pixels
  std::int64_t repaints = 0;             // WM_PAINT copies from the surface
};

}  // namespace skyfare
