#pragma once

#include <cstdint>

namespace skyfare::assets {

// A small fixed-seed generator with its own arithmetic, so the generated files are the same
// byte for byte on every build whatever the standard library's distributions do.
class PseudoRandom {
 public:
  explicit PseudoRandom(std::uint64_t seed) : state_(seed) {}

  std::uint32_t nextWord() {
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
  }

  // Uniform in [0, 1), with 24 bits so the value is exact in float and double alike.
  double unit() { return static_cast<double>(nextWord() >> 8) / 16777216.0; }

  double between(double low, double high) { return low + (high - low) * unit(); }

  // Uniform whole number in [low, high].
  int integer(int low, int high) {
    const auto span = static_cast<std::uint32_t>(high - low + 1);
    return low + static_cast<int>(nextWord() % span);
  }

  bool chance(double probability) { return unit() < probability; }

 private:
  std::uint64_t state_;
};

}  // namespace skyfare::assets
