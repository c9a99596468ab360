#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace skyfare::testing {

// A span of sound in the capture, in frames: [begin, end).
struct Burst {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t length() const { return end - begin; }
};

// Routes SDL's audio to its disk driver, which writes the mixed 16-bit stereo output to a file
// in a temporary folder of its own, and reads that file back. The driver writes as the device
// runs; the file is complete once the sound control is closed.
class DiskCapture {
 public:
  DiskCapture() {
    std::string pattern = (std::filesystem::temp_directory_path() / "skyfare-sound-XXXXXX");
    folder_ = mkdtemp(pattern.data());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file("capture.raw").c_str(), 1);
  }
  ~DiskCapture() {
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
    std::filesystem::remove_all(folder_);
  }
  DiskCapture(const DiskCapture&) = delete;
  DiskCapture& operator=(const DiskCapture&) = delete;

  std::string file(const std::string& name) const { return (folder_ / name).string(); }

  // The left channel of what has been written so far.
  std::vector<std::int16_t> left() const {
    std::ifstream in(file("capture.raw"), std::ios::binary);
    std::vector<std::int16_t> samples;
    std::int16_t frame[2];
    while (in.read(reinterpret_cast<char*>(frame), sizeof frame)) samples.push_back(frame[0]);
    return samples;
  }

  // Waits, with a watchdog, until the capture so far satisfies the condition.
  void waitUntil(const std::function<bool(const std::vector<std::int16_t>&)>& condition) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition(left())) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the audio device stalled";
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

 private:
  std::filesystem::path folder_;
};

// The stretches of sound, joining those apart by less than a few periods of the tone (a sine
// has zero samples of its own).
inline std::vector<Burst> bursts(const std::vector<std::int16_t>& samples) {
  constexpr std::size_t kJoinFrames = 300;
  std::vector<Burst> found;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (samples[i] == 0)
      continue;
    if (!found.empty() && i - found.back().end < kJoinFrames) {
      found.back().end = i + 1;
    } else {
      found.push_back({i, i + 1});
    }
  }
  return found;
}

inline double rms(const std::vector<std::int16_t>& samples, std::size_t begin, std::size_t end) {
  double sum = 0.0;
  for (std::size_t i = begin; i < end; ++i) sum += static_cast<double>(samples[i]) * samples[i];
  return std::sqrt(sum / static_cast<double>(end - begin));
}

}  // namespace skyfare::testing
