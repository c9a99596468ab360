#pragma once

#include "windows/platform/win32_api.h"

#include <chrono>
#include <memory>

#include "windows/sound/wave_samples.h"

namespace skyfare {

// The default output of the system's shared audio engine, opened and fed on a thread of its
// own: with a dead sound device the opening blocks for good, and nothing else may wait on it
// longer than it asks to. The thread mixes the sounds that play into the engine's buffer a
// second ahead and wakes ten times a second while they do, never while nothing plays; a play,
// a stop or a change of gain is heard at once, since what was queued is then mixed afresh.
//
// A device that cannot be opened is said once on the debug output, and the object stays closed.
// An object that ends, opening or not, ends at once and leaves the thread to release the device.
class WasapiOutput {
 public:
  WasapiOutput();
  ~WasapiOutput();
  WasapiOutput(const WasapiOutput&) = delete;
  WasapiOutput& operator=(const WasapiOutput&) = delete;

  // True once the device is open, waiting at most `wait` for an opening still under way.
  bool isOpen(std::chrono::milliseconds wait = std::chrono::milliseconds(0)) const;
  // True once the opening has ended without a device.
  bool hasFailed() const;
  // True while nothing plays and nothing of what played is still to be heard.
  bool isQuiet() const;

  // Plays the sound `id` from its start at the gain (1 is the samples as they are), unless it
  // plays already; played before the device opens, it starts once it is open.
  void play(int id, std::shared_ptr<const WaveSamples> wave, double gain);
  void setGain(int id, double gain);
  void stop(int id);
  void stopAll();

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

}  // namespace skyfare
