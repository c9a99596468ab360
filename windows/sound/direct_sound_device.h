#pragma once

#include "windows/platform/win32_api.h"

#include <dsound.h>

#include <chrono>
#include <memory>
#include <mutex>

namespace skyfare {

// Opens the default DirectSound device for the life of the object, on a thread of its own:
// with a dead sound device the opening blocks for good, and nothing else may wait on it longer
// than it asks to. A device that cannot be opened is said once on the debug output, and the
// object stays closed. An object that ends while the opening still hangs ends at once and
// leaves the thread to release what it opens. The openings and releases of all such objects in
// the process take turns.
class DirectSoundDevice {
 public:
  // window: the window DirectSound ties its cooperative level to; it must outlive the opening.
  explicit DirectSoundDevice(HWND window);
  ~DirectSoundDevice();
  DirectSoundDevice(const DirectSoundDevice&) = delete;
  DirectSoundDevice& operator=(const DirectSoundDevice&) = delete;

  // The open device, waiting at most `wait` for an opening still under way; null until then.
  IDirectSound8* device(std::chrono::milliseconds wait = std::chrono::milliseconds(0)) const;
  // True once the opening has ended without a device.
  bool hasFailed() const;
  // The rate the system mixes the device's sound at, once it is open; 0 when it cannot tell.
  int mixRateHz() const;

 private:
  struct Opening;
  std::shared_ptr<Opening> opening_;
  std::shared_ptr<std::mutex> turns_;
};

}  // namespace skyfare
