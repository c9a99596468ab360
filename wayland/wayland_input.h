#pragma once

#include <QPointF>
#include <cstdint>
#include <memory>
#include <vector>

#include "screen/scene_window.h"

struct wl_keyboard;
struct wl_pointer;
struct wl_registry;
struct wl_seat;
struct wl_surface;

namespace skyfare {

// The keyboards and pointers of the compositor's seats, over our surfaces: every key and
// button pressed, and every movement of the pointer to another place on the surface it is
// over. The pointer is hidden whenever it enters one of our surfaces.
class WaylandInput {
 public:
  explicit WaylandInput(SceneWindowEvents& events);
  ~WaylandInput();
  WaylandInput(const WaylandInput&) = delete;
  WaylandInput& operator=(const WaylandInput&) = delete;

  void addSeat(wl_registry* registry, std::uint32_t globalName, std::uint32_t version);
  void removeSeat(std::uint32_t globalName);

 private:
  struct Seat;

  SceneWindowEvents& events_;
  std::vector<std::unique_ptr<Seat>> seats_;
};

}  // namespace skyfare
