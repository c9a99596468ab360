#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace skyfare {

// A sound file larger than this is not read at all.
inline constexpr std::int64_t kLargestSoundFileBytes = 32LL << 20;
// Sample rates outside this range are not sound a person would play.
inline constexpr std::uint32_t kLowestSampleRateHz = 4000;
inline constexpr std::uint32_t kHighestSampleRateHz = 384000;
// Once mixed at the output rate, a sound may last no longer than this.
inline constexpr std::uint32_t kLongestSoundSeconds = 120;

// Checks that the bytes are a RIFF wave whose format the mixer decodes, with a sane rate and
// channel count, and that it stays within kLongestSoundSeconds at outputRateHz, so decoding it
// takes bounded time and memory. Returns what is wrong in a few words, or an empty text.
std::string waveProblem(const unsigned char* data, std::size_t size, std::uint32_t outputRateHz);

}  // namespace skyfare
