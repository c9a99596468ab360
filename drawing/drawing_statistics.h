#pragma once

#include <cstdint>
#include <optional>

namespace skyfare {

// Counts kept by the windowed drawing component, for benchmarks and tests.
struct DrawingStatistics {
  std::int64_t framesComposed = 0;   // Flip calls
  std::int64_t framesPresented = 0;  // Flips that flushed at least one window
  std::int64_t flushes = 0;          // window flushes, repaints after an expose included
  // From InitDisplay to the first flush that showed a composed frame.
  std::optional<std::int64_t> msToFirstFrame;
};

}  // namespace skyfare
