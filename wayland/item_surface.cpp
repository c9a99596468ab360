#include "wayland/item_surface.h"

#include <wayland-client.h>

#include <QPainter>
#include <cstdio>

#include "wayland/wayland_connection.h"

namespace skyfare {
namespace {

int floorToMultiple(int value, int unit) {
  const int remainder = value % unit;
  return remainder < 0 ? value - remainder - unit : value - remainder;
}

// The smallest rectangle around `rect` whose corners lie on multiples of the scale: a buffer
// must be a whole number of the compositor's units.
QRect inWholeUnits(const QRect& rect, int scale) {
  const int left = floorToMultiple(rect.left(), scale);
  const int top = floorToMultiple(rect.top(), scale);
  const int right = floorToMultiple(rect.right() + scale, scale);
  const int bottom = floorToMultiple(rect.bottom() + scale, scale);
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

// A sprite's picture does not change with its place; a text is laid out anew at each place.
bool samePicture(const DrawOp& a, const DrawOp& b) {
  const auto* first = std::get_if<SpriteOp>(&a);
  const auto* second = std::get_if<SpriteOp>(&b);
  if (first != nullptr && second != nullptr)
    return first->sprite == second->sprite && first->imageVersion == second->imageVersion;
  return a == b;
}

}  // namespace

bool ItemSurface::Picture::sameAs(const Picture& other) const {
  return samePicture(op, other.op) && shownPartOfOp == other.shownPartOfOp &&
         opInBuffer == other.opInBuffer && bufferSize == other.bufferSize && scale == other.scale;
}

ItemSurface::ItemSurface(WaylandConnection& connection, wl_surface* parent,
                         std::function<void()> bufferFreed)
    : connection_(connection),
      surface_(wl_compositor_create_surface(connection.compositor())),
      subsurface_(wl_subcompositor_get_subsurface(connection.subcompositor(), surface_, parent)),
      bufferFreed_(std::move(bufferFreed)) {
  wl_region* none = wl_compositor_create_region(connection.compositor());
  wl_surface_set_input_region(surface_, none);
  wl_region_destroy(none);
}

ItemSurface::~ItemSurface() {
  for (Slot& slot : slots_) slot.buffer.reset();
  wl_subsurface_destroy(subsurface_);
  wl_surface_destroy(surface_);
}

bool ItemSurface::show(const DrawOp& op, SceneRenderer& renderer, int bufferScale) {
  const QRect footprint = renderer.footprint(op);
  const QRect shown = footprint.intersected(renderer.mapping().content());
  if (shown.isEmpty())
    return hide();
  // The buffer holds the whole op, so that one crossing the edge of the content keeps its
  // buffers; what lies outside the content is left clear.
  const QRect area = inWholeUnits(footprint, bufferScale);
  Picture wanted{op, shown.translated(-footprint.topLeft()), footprint.topLeft() - area.topLeft(),
                 area.size(), bufferScale};
  bool changed = false;
  if (!shown_ || !shown_->sameAs(wanted)) {
    Slot* slot = freeSlot(area.size());
    if (slot == nullptr) {
      waiting_ = true;
      return false;
    }
    QImage& image = slot->buffer->image();
    image.fill(Qt::transparent);
    {
      QPainter painter(&image);
      painter.translate(-area.topLeft());
      renderer.renderOne(painter, op, shown);
    }
    wl_surface_attach(surface_, slot->buffer->buffer(), 0, 0);
    wl_surface_set_buffer_scale(surface_, bufferScale);
    wl_surface_damage_buffer(surface_, 0, 0, area.width(), area.height());
    wl_surface_commit(surface_);
    slot->lent = true;
    shown_ = std::move(wanted);
    waiting_ = false;
    changed = true;
  }
  const QPoint position = area.topLeft() / bufferScale;
  if (position != position_) {
    wl_subsurface_set_position(subsurface_, position.x(), position.y());
    position_ = position;
    changed = true;
  }
  return changed;
}

bool ItemSurface::hide() {
  waiting_ = false;
  if (!shown_)
    return false;
  wl_surface_attach(surface_, nullptr, 0, 0);
  wl_surface_commit(surface_);
  shown_.reset();
  return true;
}

ItemSurface::Slot* ItemSurface::freeSlot(QSize size) {
  for (Slot& slot : slots_) {
    if (slot.lent)
      continue;
    if (!slot.buffer || slot.buffer->image().size() != size) {
      slot.buffer =
          ShmBuffer::create(connection_.shm(), size, ShmBuffer::Pixels::Translucent, [this, &slot] {
            slot.lent = false;
            if (waiting_ && bufferFreed_)
              bufferFreed_();
          });
      if (!slot.buffer) {
        if (!toldNoBuffer_)
          std::fprintf(stderr, "skyfare: no shared memory for a %d x %d picture\n", size.width(),
                       size.height());
        toldNoBuffer_ = true;
        return nullptr;
      }
    }
    return &slot;
  }
  return nullptr;
}

}  // namespace skyfare
