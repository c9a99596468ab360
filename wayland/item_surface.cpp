#include "wayland/item_surface.h"

#include <wayland-client.h>

#include <QPainter>
#include <cstdio>

#include "viewporter_client.h"
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
  if (connection.viewporter() != nullptr)
    viewport_ = wp_viewporter_get_viewport(connection.viewporter(), surface_);
}

ItemSurface::~ItemSurface() {
  for (Slot& slot : slots_) slot.buffer.reset();
  if (viewport_ != nullptr)
    wp_viewport_destroy(viewport_);
  wl_subsurface_destroy(subsurface_);
  wl_surface_destroy(surface_);
}

bool ItemSurface::show(const DrawOp& op, SceneRenderer& renderer, int bufferScale) {
  const QRect footprint = renderer.footprint(op);
  const QRect shown = footprint.intersected(renderer.mapping().content());
  if (shown.isEmpty())
    return hide();
  // The buffer holds the whole op, so that one crossing the edge of the content keeps its
  // buffers. The compositor cuts it to the content where it can do so in whole pixels;
  // otherwise what lies outside the content is left clear, and painted again as that changes.
  const bool compositorCuts = viewport_ != nullptr && bufferScale == 1;
  const QRect painted = compositorCuts ? footprint : shown;
  const QRect area = inWholeUnits(footprint, bufferScale);
  Picture wanted{op, painted.translated(-footprint.topLeft()), footprint.topLeft() - area.topLeft(),
                 area.size(), bufferScale};
  bool surfaceChanged = false;
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
      renderer.renderOne(painter, op, painted);
    }
    wl_surface_attach(surface_, slot->buffer->buffer(), 0, 0);
    wl_surface_set_buffer_scale(surface_, bufferScale);
    wl_surface_damage_buffer(surface_, 0, 0, area.width(), area.height());
    slot->lent = true;
    shown_ = std::move(wanted);
    waiting_ = false;
    surfaceChanged = true;
  }
  const bool cut = compositorCuts && shown != footprint;
  surfaceChanged |= crop(cut ? std::optional(shown.translated(-area.topLeft())) : std::nullopt);
  if (surfaceChanged)
    wl_surface_commit(surface_);
  const QPoint position = cut ? shown.topLeft() : area.topLeft() / bufferScale;
  if (position != position_) {
    wl_subsurface_set_position(subsurface_, position.x(), position.y());
    position_ = position;
    surfaceChanged = true;
  }
  return surfaceChanged;
}

bool ItemSurface::hide() {
  waiting_ = false;
  if (!shown_)
    return false;
  crop(std::nullopt);
  wl_surface_attach(surface_, nullptr, 0, 0);
  wl_surface_commit(surface_);
  shown_.reset();
  return true;
}

bool ItemSurface::crop(std::optional<QRect> partOfBuffer) {
  if (partOfBuffer == crop_)
    return false;
  crop_ = partOfBuffer;
  if (!crop_) {
    wp_viewport_set_source(viewport_, wl_fixed_from_int(-1), wl_fixed_from_int(-1),
                           wl_fixed_from_int(-1), wl_fixed_from_int(-1));
    wp_viewport_set_destination(viewport_, -1, -1);
    return true;
  }
  wp_viewport_set_source(viewport_, wl_fixed_from_int(crop_->x()), wl_fixed_from_int(crop_->y()),
                         wl_fixed_from_int(crop_->width()), wl_fixed_from_int(crop_->height()));
  // Shown at its own size: the compositor cuts, it does not scale.
  wp_viewport_set_destination(viewport_, crop_->width(), crop_->height());
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
