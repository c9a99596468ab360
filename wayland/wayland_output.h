#pragma once

#include <cstdint>
#include <functional>

struct wl_output;
struct wl_registry;

namespace skyfare {

// One output the compositor announced, with the buffer scale it asks of surfaces on it. It is
// ready once the compositor has told all it has to tell about it; after that, changed() runs
// whenever the scale changes.
class WaylandOutput {
 public:
  WaylandOutput(wl_registry* registry, std::uint32_t globalName, std::uint32_t version);
  ~WaylandOutput();
  WaylandOutput(const WaylandOutput&) = delete;
  WaylandOutput& operator=(const WaylandOutput&) = delete;

  std::uint32_t globalName() const { return globalName_; }
  wl_output* output() const { return output_; }
  bool ready() const { return ready_; }
  // At least 1, whatever the compositor sends.
  int scale() const { return scale_; }

  // Runs when the output becomes ready and whenever its scale changes afterwards.
  void onChanged(std::function<void()> changed) { changed_ = std::move(changed); }

 private:
  static void scaleEvent(void* data, wl_output* output, std::int32_t factor);
  static void doneEvent(void* data, wl_output* output);

  std::uint32_t globalName_;
  std::uint32_t version_;
  wl_output* output_;
  bool ready_ = false;
  int scale_ = 1;
  int pendingScale_ = 1;
  std::function<void()> changed_;
};

}  // namespace skyfare
