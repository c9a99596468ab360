#pragma once

namespace skyfare {

// Keeps the ALSA library from writing its own lines to standard error while it lives: on a
// machine without a sound card it prints several while SDL looks for a device, and the saver
// reports a missing device in one line of its own.
class AlsaQuiet {
 public:
  AlsaQuiet();
  ~AlsaQuiet();
  AlsaQuiet(const AlsaQuiet&) = delete;
  AlsaQuiet& operator=(const AlsaQuiet&) = delete;
};

}  // namespace skyfare
