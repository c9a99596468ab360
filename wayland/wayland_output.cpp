#include "wayland/wayland_output.h"

#include <wayland-client.h>

#include <algorithm>

namespace skyfare {
namespace {

// Version 2 brings the scale and the end of each batch of facts; 3 lets us release the output.
constexpr std::uint32_t kOutputVersion = 3;
// Scales beyond this are no real screen's and would ask for buffers of absurd size.
constexpr int kLargestScale = 8;

void ignoreGeometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                    std::int32_t, const char*, const char*, std::int32_t) {}
void ignoreMode(void*, wl_output*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {}

}  // namespace

WaylandOutput::WaylandOutput(wl_registry* registry, std::uint32_t globalName, std::uint32_t version)
    : globalName_(globalName),
      version_(std::min(version, kOutputVersion)),
      output_(static_cast<wl_output*>(
          wl_registry_bind(registry, globalName, &wl_output_interface, version_))) {
  static const wl_output_listener listener{.geometry = ignoreGeometry,
                                           .mode = ignoreMode,
                                           .done = &WaylandOutput::doneEvent,
                                           .scale = &WaylandOutput::scaleEvent,
                                           // Names come with version 4, which is not bound.
                                           .name = nullptr,
                                           .description = nullptr};
  wl_output_add_listener(output_, &listener, this);
  // An output of the first version never sends its facts: it is ready as it is.
  ready_ = version_ < 2;
}

WaylandOutput::~WaylandOutput() {
  if (version_ >= WL_OUTPUT_RELEASE_SINCE_VERSION)
    wl_output_release(output_);
  else
    wl_output_destroy(output_);
}

void WaylandOutput::scaleEvent(void* data, wl_output*, std::int32_t factor) {
  static_cast<WaylandOutput*>(data)->pendingScale_ = std::clamp(factor, 1, kLargestScale);
}

void WaylandOutput::doneEvent(void* data, wl_output*) {
  auto* self = static_cast<WaylandOutput*>(data);
  const bool changed = !self->ready_ || self->pendingScale_ != self->scale_;
  self->ready_ = true;
  self->scale_ = self->pendingScale_;
  if (changed && self->changed_)
    self->changed_();
}

}  // namespace skyfare
