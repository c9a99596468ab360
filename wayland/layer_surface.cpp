#include "wayland/layer_surface.h"

#include <wayland-client.h>

#include <QPainter>
#include <cstdio>

#include "drawing/frame_damage.h"
#include "layer_shell_client.h"
#include "wayland/wayland_connection.h"
#include "wayland/wayland_output.h"

namespace skyfare {
namespace {

constexpr std::uint32_t kAllEdges =
    ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
    ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
// Covers the panels too, and is not moved aside by what they keep free.
constexpr std::int32_t kIgnoreOtherZones = -1;
constexpr const char* kSurfacePurpose = "skyfare";
// Twice the width of the largest screens sold; a compositor asking for more gets no picture
// rather than a buffer of gigabytes.
constexpr int kLargestBufferSidePx = 16384;

}  // namespace

LayerPlacement overlayPlacement() {
  return LayerPlacement{ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, true};
}

LayerPlacement backgroundPlacement() {
  return LayerPlacement{ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND, false};
}

LayerSurface::LayerSurface(WaylandConnection& connection, WaylandOutput& output,
                           LayerPlacement placement, const DisplayList& presented,
                           std::shared_ptr<ScaledPictures> scaledPictures,
                           SceneWindowEvents& events)
    : connection_(connection),
      output_(output),
      presented_(presented),
      scaledPictures_(std::move(scaledPictures)),
      events_(events),
      surface_(wl_compositor_create_surface(connection.compositor())) {
  layer_ = zwlr_layer_shell_v1_get_layer_surface(connection.layerShell(), surface_, output.output(),
                                                 placement.layer, kSurfacePurpose);
  static const zwlr_layer_surface_v1_listener listener{.configure = &LayerSurface::configureEvent,
                                                       .closed = &LayerSurface::closedEvent};
  zwlr_layer_surface_v1_add_listener(layer_, &listener, this);
  zwlr_layer_surface_v1_set_anchor(layer_, kAllEdges);
  zwlr_layer_surface_v1_set_size(layer_, 0, 0);
  zwlr_layer_surface_v1_set_exclusive_zone(layer_, kIgnoreOtherZones);
  zwlr_layer_surface_v1_set_keyboard_interactivity(
      layer_, placement.takesKeyboard ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE
                                      : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
  bufferScale_ = output.scale();
  wl_surface_set_buffer_scale(surface_, bufferScale_);
  // The compositor answers this first, empty commit with the size to draw at.
  wl_surface_commit(surface_);
  connection_.flush();
}

LayerSurface::~LayerSurface() {
  if (frameCallback_ != nullptr)
    wl_callback_destroy(frameCallback_);
  items_.clear();
  buffers_.clear();
  zwlr_layer_surface_v1_destroy(layer_);
  wl_surface_destroy(surface_);
  connection_.flush();
}

void LayerSurface::present() {
  unshown_ = true;
  paint();
}

void LayerSurface::followScale() {
  if (output_.scale() == bufferScale_)
    return;
  bufferScale_ = output_.scale();
  resizeBuffers();
  paint();
}

void LayerSurface::configureEvent(void* data, zwlr_layer_surface_v1* layer, std::uint32_t serial,
                                  std::uint32_t width, std::uint32_t height) {
  auto* self = static_cast<LayerSurface*>(data);
  zwlr_layer_surface_v1_ack_configure(layer, serial);
  const QSize size(static_cast<int>(width), static_cast<int>(height));
  if (size.isEmpty()) {
    std::fprintf(stderr, "skyfare: the compositor gave a saver surface no size\n");
    return;
  }
  if (size != self->surfaceSize_) {
    self->surfaceSize_ = size;
    self->resizeBuffers();
  }
  self->paint();
}

void LayerSurface::closedEvent(void* data, zwlr_layer_surface_v1*) {
  // The surface will not show again; its output may still be there, so it stays, unpainted.
  static_cast<LayerSurface*>(data)->closed_ = true;
}

void LayerSurface::frameDoneEvent(void* data, wl_callback* callback, std::uint32_t) {
  auto* self = static_cast<LayerSurface*>(data);
  wl_callback_destroy(callback);
  self->frameCallback_ = nullptr;
  self->paint();
}

void LayerSurface::resizeBuffers() {
  if (surfaceSize_.isEmpty())
    return;
  if (surfaceSize_.width() > kLargestBufferSidePx / bufferScale_ ||
      surfaceSize_.height() > kLargestBufferSidePx / bufferScale_) {
    std::fprintf(stderr,
                 "skyfare: the compositor asked for a %d x %d picture at scale %d; it gets none\n",
                 surfaceSize_.width(), surfaceSize_.height(), bufferScale_);
    buffers_.clear();
    renderer_.reset();
    return;
  }
  bufferSize_ = surfaceSize_ * bufferScale_;
  buffers_.clear();
  unshown_ = true;
  damage_.reset(QRect(QPoint(0, 0), bufferSize_));
  if (renderer_)
    renderer_->setTargetSize(bufferSize_);
  else
    renderer_.emplace(bufferSize_, scaledPictures_);
  wl_surface_set_buffer_scale(surface_, bufferScale_);
  // The whole surface is opaque: the compositor need not draw what lies below it.
  wl_region* opaque = wl_compositor_create_region(connection_.compositor());
  wl_region_add(opaque, 0, 0, surfaceSize_.width(), surfaceSize_.height());
  wl_surface_set_opaque_region(surface_, opaque);
  wl_region_destroy(opaque);
}

void LayerSurface::paint() {
  // Until the first frame is composed there is nothing to show; a buffer of black now would
  // only have to be replaced at once by a second one.
  if (closed_ || !renderer_ || frameCallback_ != nullptr || !unshown_ || presented_.empty())
    return;
  const std::size_t length = opaqueBaseLength(presented_);
  DisplayList base(presented_.begin(), presented_.begin() + static_cast<std::ptrdiff_t>(length));
  if (base != shownBase_) {
    damage_.add(renderer_->mapping().toTarget(frameDamage(shownBase_, base)));
    shownBase_ = std::move(base);
  }
  bool committed = false;
  if (damage_.unshown() && paintBase(shownBase_)) {
    committed = true;
    // The buffers now hold what the bottom ops draw, and only a new size or scale paints them
    // again: the unpacked copies of their pictures (a screen's worth of background) need not
    // stay in memory. The ops above keep theirs, as any of them may be painted next frame.
    scaledPictures_->letGoOfUndrawn(
        DisplayList(presented_.begin() + static_cast<std::ptrdiff_t>(length), presented_.end()));
  }
  bool waiting = damage_.unshown();
  std::size_t item = 0;
  for (std::size_t op = length; op < presented_.size(); ++op, ++item) {
    if (item == items_.size())
      items_.push_back(std::make_unique<ItemSurface>(connection_, surface_, [this] { paint(); }));
    committed |= items_[item]->show(presented_[op], *renderer_, bufferScale_);
    waiting |= items_[item]->waiting();
  }
  for (; item < items_.size(); ++item) committed |= items_[item]->hide();
  unshown_ = waiting;
  if (!committed)
    return;
  frameCallback_ = wl_surface_frame(surface_);
  static const wl_callback_listener frameListener{.done = &LayerSurface::frameDoneEvent};
  wl_callback_add_listener(frameCallback_, &frameListener, this);
  wl_surface_commit(surface_);
  connection_.flush();
  events_.windowFlushed();
}

bool LayerSurface::paintBase(const DisplayList& base) {
  const std::optional<std::size_t> slot = damage_.acquire();
  if (!slot)
    return false;  // painted when the compositor gives a buffer back
  const std::size_t index = *slot;
  if (index == buffers_.size()) {
    auto buffer =
        ShmBuffer::create(connection_.shm(), bufferSize_, ShmBuffer::Pixels::Opaque, [this, index] {
          damage_.giveBack(index);
          paint();
        });
    if (!buffer) {
      if (!toldNoBuffer_)
        std::fprintf(stderr, "skyfare: no shared memory for a %d x %d picture\n",
                     bufferSize_.width(), bufferSize_.height());
      toldNoBuffer_ = true;
      damage_.reset(QRect(QPoint(0, 0), bufferSize_));
      return false;
    }
    buffers_.push_back(std::move(buffer));
  }
  ShmBuffer& buffer = *buffers_[index];
  const BufferDamage::Repair repair = damage_.repairOf(index);
  {
    QPainter painter(&buffer.image());
    if (repair.copyFrom) {
      painter.setCompositionMode(QPainter::CompositionMode_Source);
      const QImage& last = buffers_[*repair.copyFrom]->image();
      for (const QRect& rect : repair.copy) painter.drawImage(rect.topLeft(), last, rect);
      painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    if (!(repair.paint - renderer_->mapping().content()).isEmpty())
      renderer_->renderBars(painter);
    renderer_->render(painter, base, repair.paint, SceneRenderer::Unpacking::RowsPainted);
  }
  wl_surface_attach(surface_, buffer.buffer(), 0, 0);
  // The compositor is told what differs from the picture it shows now.
  damageSurface(damage_.unshownRegion());
  damage_.lend(index);
  return true;
}

void LayerSurface::damageSurface(const QRegion& region) {
  for (const QRect& rect : region) {
    if (connection_.compositorVersion() >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION) {
      wl_surface_damage_buffer(surface_, rect.x(), rect.y(), rect.width(), rect.height());
    } else {
      // In surface units, rounded outward.
      const int left = rect.left() / bufferScale_;
      const int top = rect.top() / bufferScale_;
      const int right = (rect.right() + bufferScale_) / bufferScale_;
      const int bottom = (rect.bottom() + bufferScale_) / bufferScale_;
      wl_surface_damage(surface_, left, top, right - left, bottom - top);
    }
  }
}

}  // namespace skyfare
