#include "wayland/item_surface.h"

#include <wayland-client.h>

#include <QPainter>
#include <algorithm>
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

// Bands enough to follow an aircraft's tail, fuselage and wings.
constexpr int kBands = 4;

// The picture's rows in kBands bands of equal height, each cut to the rows and columns that it
// paints; bands that paint nothing are left out.
std::vector<QRect> paintedBands(const QImage& picture) {
  std::vector<QRect> bands;
  for (int band = 0; band < kBands; ++band) {
    QRect painted;
    for (int y = picture.height() * band / kBands; y < picture.height() * (band + 1) / kBands;
         ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
      int left = 0;
      while (left < picture.width() && qAlpha(row[left]) == 0) ++left;
      if (left == picture.width())
        continue;
      int right = picture.width() - 1;
      while (qAlpha(row[right]) == 0) --right;
      painted |= QRect(QPoint(left, y), QPoint(right, y));
    }
    if (!painted.isEmpty())
      bands.push_back(painted);
  }
  return bands;
}

void setCrop(wp_viewport* viewport, const std::optional<QRect>& crop) {
  if (!crop) {
    wp_viewport_set_source(viewport, wl_fixed_from_int(-1), wl_fixed_from_int(-1),
                           wl_fixed_from_int(-1), wl_fixed_from_int(-1));
    wp_viewport_set_destination(viewport, -1, -1);
    return;
  }
  wp_viewport_set_source(viewport, wl_fixed_from_int(crop->x()), wl_fixed_from_int(crop->y()),
                         wl_fixed_from_int(crop->width()), wl_fixed_from_int(crop->height()));
  // Shown at its own size: the compositor cuts, it does not scale.
  wp_viewport_set_destination(viewport, crop->width(), crop->height());
}

}  // namespace

ItemSurface::ItemSurface(WaylandConnection& connection, wl_surface* parent,
                         std::function<void()> bufferFreed)
    : connection_(connection),
      bufferFreed_(std::move(bufferFreed)),
      partsCrop_(connection.viewporter() != nullptr) {
  parts_.resize(partsCrop_ ? kBands : 1);
  wl_region* none = wl_compositor_create_region(connection.compositor());
  for (Part& part : parts_) {
    part.surface = wl_compositor_create_surface(connection.compositor());
    part.subsurface =
        wl_subcompositor_get_subsurface(connection.subcompositor(), part.surface, parent);
    wl_surface_set_input_region(part.surface, none);
    if (partsCrop_)
      part.viewport = wp_viewporter_get_viewport(connection.viewporter(), part.surface);
  }
  wl_region_destroy(none);
}

ItemSurface::~ItemSurface() {
  for (Slot& slot : slots_) slot.buffer.reset();
  for (Part& part : parts_) {
    if (part.viewport != nullptr)
      wp_viewport_destroy(part.viewport);
    wl_subsurface_destroy(part.subsurface);
    wl_surface_destroy(part.surface);
  }
}

bool ItemSurface::show(const DrawOp& op, SceneRenderer& renderer, int bufferScale) {
  const QRect footprint = renderer.footprint(op);
  const QRect shown = footprint.intersected(renderer.mapping().content());
  if (shown.isEmpty())
    return hide();
  // The buffer holds the whole op, so that one crossing the edge of the content keeps its
  // buffers. The compositor cuts it to the content where it can do so in whole pixels;
  // otherwise what lies outside the content is left clear, and painted again as that changes.
  const bool compositorCuts = partsCrop_ && bufferScale == 1;
  const QRect painted = compositorCuts ? footprint : shown;
  const QRect area = inWholeUnits(footprint, bufferScale);
  const Placement placement{painted.translated(-footprint.topLeft()),
                            footprint.topLeft() - area.topLeft(), area.size(), bufferScale};
  // Most frames only move the op: it is copied only when it is painted.
  if (!shown_ || shown_->placement != placement || !samePicture(shown_->op, op)) {
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
    buffer_ = slot->buffer.get();
    bands_ = compositorCuts ? paintedBands(image) : std::vector<QRect>{image.rect()};
    shown_ = Picture{op, placement};
    waiting_ = false;
  }
  const QRect visible = shown.translated(-area.topLeft());
  bool changed = false;
  for (std::size_t index = 0; index < parts_.size(); ++index) {
    Part& part = parts_[index];
    if (index >= bands_.size()) {
      changed |= hidePart(part);
    } else if (!compositorCuts) {
      changed |= showPart(part, std::nullopt, area.topLeft() / bufferScale, bufferScale);
    } else {
      const QRect crop = bands_[index].intersected(visible);
      changed |= crop.isEmpty() ? hidePart(part)
                                : showPart(part, crop, area.topLeft() + crop.topLeft(), 1);
    }
  }
  // A buffer is the compositor's from the first part that shows it until it gives it back. Once
  // no part shows it, it is not shown again: it may be given back at any time after that, so
  // the op is painted anew when it shows again.
  if (std::any_of(parts_.begin(), parts_.end(),
                  [this](const Part& part) { return part.attached == buffer_; })) {
    for (Slot& slot : slots_) slot.lent = slot.lent || slot.buffer.get() == buffer_;
  } else {
    shown_.reset();
    buffer_ = nullptr;
  }
  return changed;
}

bool ItemSurface::hide() {
  waiting_ = false;
  bool changed = false;
  for (Part& part : parts_) changed |= hidePart(part);
  shown_.reset();
  buffer_ = nullptr;
  return changed;
}

bool ItemSurface::showPart(Part& part, const std::optional<QRect>& crop, QPoint position,
                           int scale) {
  bool surfaceChanged = false;
  if (part.attached != buffer_) {
    wl_surface_attach(part.surface, buffer_->buffer(), 0, 0);
    wl_surface_set_buffer_scale(part.surface, scale);
    wl_surface_damage_buffer(part.surface, 0, 0, buffer_->size().width(), buffer_->size().height());
    part.attached = buffer_;
    surfaceChanged = true;
  }
  if (part.viewport != nullptr && crop != part.crop) {
    setCrop(part.viewport, crop);
    part.crop = crop;
    surfaceChanged = true;
  }
  if (surfaceChanged)
    wl_surface_commit(part.surface);
  if (position != part.position) {
    wl_subsurface_set_position(part.subsurface, position.x(), position.y());
    part.position = position;
    return true;
  }
  return surfaceChanged;
}

bool ItemSurface::hidePart(Part& part) {
  if (part.attached == nullptr)
    return false;
  if (part.viewport != nullptr && part.crop) {
    setCrop(part.viewport, std::nullopt);
    part.crop.reset();
  }
  wl_surface_attach(part.surface, nullptr, 0, 0);
  wl_surface_commit(part.surface);
  part.attached = nullptr;
  return true;
}

ItemSurface::Slot* ItemSurface::freeSlot(QSize size) {
  for (Slot& slot : slots_) {
    if (slot.lent)
      continue;
    if (!slot.buffer || slot.buffer->size() != size) {
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
