#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "drawing/display_list.h"
#include "drawing/scene_renderer.h"
#include "wayland/shm_buffer.h"

struct wl_subsurface;
struct wl_surface;
struct wp_viewport;

namespace skyfare {

class WaylandConnection;

// One op of the frame on surfaces of its own above the layer surface, so that the compositor
// puts it in its place: a sprite that only moves costs a new position, not a repaint. Its
// picture holds the op alone, cut to the content, and is painted again only when the op draws
// something else or the content cuts it differently. Where the compositor can show part of a
// buffer, the picture is shown by a few surfaces, each a band of its rows as wide as what those
// rows paint: the compositor redraws the box of each surface that moves, and boxes that hug an
// aircraft's shape spare it redrawing the sky around it. Those surfaces also cut a sprite that
// crosses the content's edge. What it shows changes with the layer surface's next commit. It
// takes no input: the pointer over it is over the layer surface.
class ItemSurface {
 public:
  // bufferFreed runs when the compositor gives back a buffer while a picture waits for one.
  ItemSurface(WaylandConnection& connection, wl_surface* parent, std::function<void()> bufferFreed);
  ~ItemSurface();
  ItemSurface(const ItemSurface&) = delete;
  ItemSurface& operator=(const ItemSurface&) = delete;

  // Shows the op where the renderer places it, at the buffer scale; true when that changed what
  // is shown. A picture to paint while the compositor holds both buffers leaves the old one in
  // place, and waiting() is true until a later call paints it.
  bool show(const DrawOp& op, SceneRenderer& renderer, int bufferScale);
  // Shows nothing; true when it showed something.
  bool hide();
  bool waiting() const { return waiting_; }

 private:
  // Which part of an op a buffer holds, and where in the buffer.
  struct Placement {
    QRect shownPartOfOp;
    QPoint opInBuffer;
    QSize bufferSize;
    int scale = 1;

    bool operator==(const Placement&) const = default;
  };
  struct Picture {
    DrawOp op;
    Placement placement;
  };
  struct Slot {
    std::unique_ptr<ShmBuffer> buffer;
    bool lent = false;
  };
  // A surface that shows the buffer, or part of it through its viewport.
  struct Part {
    wl_surface* surface = nullptr;
    wl_subsurface* subsurface = nullptr;
    wp_viewport* viewport = nullptr;
    const ShmBuffer* attached = nullptr;  // null while it shows nothing
    std::optional<QRect> crop;            // in buffer pixels
    std::optional<QPoint> position;       // in the compositor's units
  };

  Slot* freeSlot(QSize size);
  // Shows the buffer, or the cropped part of it, with its top left at `position`; true when that
  // changed what the part shows.
  bool showPart(Part& part, const std::optional<QRect>& crop, QPoint position, int scale);
  bool hidePart(Part& part);

  WaylandConnection& connection_;
  std::function<void()> bufferFreed_;
  // All made at once, so that they stack together: one, or kBands where parts can be cropped.
  std::vector<Part> parts_;
  bool partsCrop_ = false;
  // Two, so that one is painted while the compositor reads the other.
  std::array<Slot, 2> slots_;
  const ShmBuffer* buffer_ = nullptr;  // holding the picture shown
  std::vector<QRect> bands_;           // of that picture, in buffer pixels
  std::optional<Picture> shown_;       // none while nothing is shown
  bool waiting_ = false;
  bool toldNoBuffer_ = false;
};

}  // namespace skyfare
