#include "raster/area_scale.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace skyfare {
namespace {

// One target pixel's share of the source along an axis: source pixels first … first+count-1,
// each with its weight; the weights add up to one.
struct Taps {
  int first = 0;
  std::vector<float> weights;
};

std::vector<Taps> tapsFor(int sourceLength, int targetLength) {
  std::vector<Taps> taps(static_cast<std::size_t>(targetLength));
  const double ratio = static_cast<double>(sourceLength) / targetLength;
  for (int i = 0; i < targetLength; ++i) {
    Taps& tap = taps[static_cast<std::size_t>(i)];
    if (ratio >= 1.0) {
      const double begin = i * ratio;
      const double end = (i + 1) * ratio;
      tap.first = static_cast<int>(std::floor(begin));
      const int last = std::min(sourceLength - 1, static_cast<int>(std::ceil(end)) - 1);
      for (int s = tap.first; s <= last; ++s) {
        const double overlap = std::min<double>(end, s + 1) - std::max<double>(begin, s);
        tap.weights.push_back(static_cast<float>(overlap / ratio));
      }
    } else {
      const double centre = std::clamp((i + 0.5) * ratio - 0.5, 0.0, sourceLength - 1.0);
      tap.first = std::min(static_cast<int>(std::floor(centre)), std::max(sourceLength - 2, 0));
      const double fraction = centre - tap.first;
      tap.weights.push_back(static_cast<float>(1.0 - fraction));
      if (tap.first + 1 < sourceLength)
        tap.weights.push_back(static_cast<float>(fraction));
    }
  }
  return taps;
}

using Channels = std::array<float, 4>;  // blue, green, red, alpha

Channels channelsOf(std::uint32_t pixel) {
  return {static_cast<float>(pixel & 0xFF), static_cast<float>((pixel >> 8) & 0xFF),
          static_cast<float>((pixel >> 16) & 0xFF), static_cast<float>(pixel >> 24)};
}

std::uint32_t pixelOf(const Channels& c) {
  const auto byte = [](float value) {
    return static_cast<std::uint32_t>(std::clamp(std::lround(value), 0L, 255L));
  };
  const std::uint32_t alpha = byte(c[3]);
  // Rounding must not leave a colour brighter than its coverage allows.
  const auto colour = [&](float value) { return std::min(byte(value), alpha); };
  return (alpha << 24) | (colour(c[2]) << 16) | (colour(c[1]) << 8) | colour(c[0]);
}

}  // namespace

BgraPicture scaledPicture(const BgraPicture& source, int width, int height) {
  if (source.isNull() || width <= 0 || height <= 0)
    return {};
  if (source.width == width && source.height == height)
    return source;
  const std::vector<Taps> across = tapsFor(source.width, width);
  const std::vector<Taps> down = tapsFor(source.height, height);
  // Across first, a source row at a time as the rows down need them, into a ring of as many
  // rows of the target's width as one target row reads: the rows down go from the top, so a row
  // that leaves the ring is never read again, and the whole source never waits in floats.
  std::size_t ringRows = 1;
  for (const Taps& tap : down) ringRows = std::max(ringRows, tap.weights.size());
  std::vector<Channels> ring(ringRows * static_cast<std::size_t>(width));
  std::vector<int> ringHolds(ringRows, -1);
  const auto acrossRow = [&](int y) -> const Channels* {
    const std::size_t slot = static_cast<std::size_t>(y) % ringRows;
    Channels* row = ring.data() + slot * static_cast<std::size_t>(width);
    if (ringHolds[slot] == y)
      return row;
    for (int x = 0; x < width; ++x) {
      const Taps& tap = across[static_cast<std::size_t>(x)];
      Channels sum{};
      for (std::size_t k = 0; k < tap.weights.size(); ++k) {
        const Channels c = channelsOf(source.at(tap.first + static_cast<int>(k), y));
        for (std::size_t n = 0; n < sum.size(); ++n) sum[n] += c[n] * tap.weights[k];
      }
      row[x] = sum;
    }
    ringHolds[slot] = y;
    return row;
  };
  BgraPicture result{width, height, source.opaque, {}};
  result.pixels.resize(static_cast<std::size_t>(width) * height);
  std::vector<const Channels*> read(ringRows);
  for (int y = 0; y < height; ++y) {
    const Taps& tap = down[static_cast<std::size_t>(y)];
    for (std::size_t k = 0; k < tap.weights.size(); ++k)
      read[k] = acrossRow(tap.first + static_cast<int>(k));
    for (int x = 0; x < width; ++x) {
      Channels sum{};
      for (std::size_t k = 0; k < tap.weights.size(); ++k) {
        const Channels& c = read[k][x];
        for (std::size_t n = 0; n < sum.size(); ++n) sum[n] += c[n] * tap.weights[k];
      }
      result.pixels[static_cast<std::size_t>(y) * width + x] = pixelOf(sum);
    }
  }
  if (source.opaque) {
    for (std::uint32_t& pixel : result.pixels) pixel |= 0xFF000000u;
  }
  return result;
}

}  // namespace skyfare
