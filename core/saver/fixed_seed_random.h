#pragma once

#include <cstdint>
#include <random>

#include "core/saver/host_services.h"

namespace skyfare {

// The session's random sequence. Its seed is fixed, so every session flies the same heights.
class FixedSeedRandom final : public RandomSource {
 public:
  double next() override { return static_cast<double>(engine_()) / 4294967296.0; }

 private:
  static constexpr std::uint32_t kSeed = 20261208;
  std::mt19937 engine_{kSeed};
};

}  // namespace skyfare
