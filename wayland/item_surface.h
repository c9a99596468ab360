#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "drawing/display_list.h"
#include "drawing/scene_renderer.h"
#include "wayland/shm_buffer.h"

struct wl_subsurface;
struct wl_surface;
struct wp_viewport;

namespace skyfare {

class WaylandConnection;

// One op of the frame on a surface of its own above the layer surface, so that the compositor
// puts it in its place: a sprite that only moves costs a new position, not a repaint. Its
// picture holds the op alone, cut to the content, and is painted again only when the op draws
// something else or the content cuts it differently; where the compositor can show part of a
// buffer, a sprite crossing the content's edge is cut by the compositor instead. What it shows
// changes with the layer surface's next commit. It takes no input: the pointer over it is over
// the layer surface.
class ItemSurface {
 public:
  // bufferFreed runs when the compositor gives back a buffer while a picture waits for one.
  ItemSurface(WaylandConnection& connection, wl_surface* parent, std::function<void()> bufferFreed);
  ~ItemSurface();
  ItemSurface(const ItemSurface&) = delete;
  ItemSurface& operator=(const ItemSurface&) = delete;

  // Shows the op where the renderer places it, at the buffer scale; true when that changed what
  // the surface shows. A picture to paint while the compositor holds both buffers leaves the
  // old one in place, and waiting() is true until a later call paints it.
  bool show(const DrawOp& op, SceneRenderer& renderer, int bufferScale);
  // Shows nothing; true when it showed something.
  bool hide();
  bool waiting() const { return waiting_; }

 private:
  // What a buffer holds: which op, which part of it, and where in the buffer.
  struct Picture {
    DrawOp op;
    QRect shownPartOfOp;
    QPoint opInBuffer;
    QSize bufferSize;
    int scale = 1;

    bool sameAs(const Picture& other) const;
  };
  struct Slot {
    std::unique_ptr<ShmBuffer> buffer;
    bool lent = false;
  };

  Slot* freeSlot(QSize size);
  // Shows only this part of the buffer, or all of it; true when that changed.
  bool crop(std::optional<QRect> partOfBuffer);

  WaylandConnection& connection_;
  wl_surface* surface_;
  wl_subsurface* subsurface_;
  wp_viewport* viewport_ = nullptr;  // null when the compositor cannot show part of a buffer
  std::optional<QRect> crop_;        // in buffer pixels
  std::function<void()> bufferFreed_;
  // Two, so that one is painted while the compositor reads the other.
  std::array<Slot, 2> slots_;
  std::optional<Picture> shown_;    // none while the surface shows nothing
  std::optional<QPoint> position_;  // in the compositor's units, once placed
  bool waiting_ = false;
  bool toldNoBuffer_ = false;
};

}  // namespace skyfare
