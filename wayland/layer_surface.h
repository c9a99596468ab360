#pragma once

#include <QRegion>
#include <QSize>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "drawing/display_list.h"
#include "drawing/scene_renderer.h"
#include "screen/scene_window.h"
#include "wayland/buffer_damage.h"
#include "wayland/item_surface.h"
#include "wayland/shm_buffer.h"

struct wl_callback;
struct wl_surface;
struct zwlr_layer_surface_v1;

namespace skyfare {

class WaylandConnection;
class WaylandOutput;

// Where a layer surface sits and whether it takes the keyboard.
struct LayerPlacement {
  std::uint32_t layer;
  bool takesKeyboard;
};

// Above every window, with every key: the saver's own screens.
LayerPlacement overlayPlacement();
// Below every window and without the keyboard: the picture behind a lock screen, whose input
// belongs to the locker.
LayerPlacement backgroundPlacement();

// A surface that covers one output on a layer and shows the presented display list fitted to
// it, at the output's buffer scale. The compositor composes the frame: the ops at the bottom of
// the list that hide what lies below them (fills, an opaque background) are painted into the
// surface's own buffer, and every op above them is shown by a surface of its own (ItemSurface),
// so that a frame in which the aircraft move costs their new places, not a repaint. The
// surface's buffer is repainted only where its ops changed since that buffer was last shown,
// and a new frame is committed only once the compositor has asked for the next one, so an
// output that is not shown costs no painting.
class LayerSurface {
 public:
  LayerSurface(WaylandConnection& connection, WaylandOutput& output, LayerPlacement placement,
               const DisplayList& presented, std::shared_ptr<ScaledPictures> scaledPictures,
               SceneWindowEvents& events);
  ~LayerSurface();
  LayerSurface(const LayerSurface&) = delete;
  LayerSurface& operator=(const LayerSurface&) = delete;

  const WaylandOutput& output() const { return output_; }

  // The presented list changed.
  void present();
  // The output asks for another buffer scale.
  void followScale();

 private:
  static void configureEvent(void* data, zwlr_layer_surface_v1* layer, std::uint32_t serial,
                             std::uint32_t width, std::uint32_t height);
  static void closedEvent(void* data, zwlr_layer_surface_v1* layer);
  static void frameDoneEvent(void* data, wl_callback* callback, std::uint32_t time);
  void resizeBuffers();
  void paint();
  // False when the compositor holds every buffer or none can be made.
  bool paintBase(const DisplayList& base);
  void damageSurface(const QRegion& region);

  WaylandConnection& connection_;
  const WaylandOutput& output_;
  const DisplayList& presented_;
  std::shared_ptr<ScaledPictures> scaledPictures_;
  SceneWindowEvents& events_;
  wl_surface* surface_;
  zwlr_layer_surface_v1* layer_ = nullptr;
  wl_callback* frameCallback_ = nullptr;
  bool closed_ = false;
  QSize surfaceSize_;  // in the compositor's units, from the last configure
  QSize bufferSize_;   // in pixels: the surface size times the scale
  int bufferScale_ = 1;
  std::optional<SceneRenderer> renderer_;
  BufferDamage damage_;
  std::vector<std::unique_ptr<ShmBuffer>> buffers_;
  DisplayList shownBase_;  // the ops the buffers show, or are being brought up to
  std::vector<std::unique_ptr<ItemSurface>> items_;  // from the bottom up
  bool unshown_ = false;  // some change of the presented list is not yet committed
  bool toldNoBuffer_ = false;
};

}  // namespace skyfare
