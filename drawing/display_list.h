#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <variant>
#include <vector>

#include "core/controls/drawing_control.h"
#include "pictures/density_variant.h"
#include "raster/pixel_rect.h"

namespace skyfare {

// One drawing of a frame, with everything needed to paint it again and to tell whether it
// changed. Each op knows its bounds in scene pixels, already cut to the scene.

struct FillOp {
  SceneColour colour = 0;

  bool operator==(const FillOp&) const = default;
  QRect bounds() const { return QRect(0, 0, kSceneWidth, kSceneHeight); }
};

struct SpriteOp {
  SpriteHandle sprite = 0;
  std::uint64_t imageVersion = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  // Shared with the sprite store, so a picture reloaded mid-frame cannot change this op; null
  // when the dense source stands for the picture.
  QImage image;
  QRegion coverage;  // where the picture can show, in its own pixels (pictureCoverage)
  std::shared_ptr<const DenseSource> denseSource;  // null for a picture of one density

  // Same sprite, picture and place; the version stands for the picture.
  bool operator==(const SpriteOp& other) const;
  QRect bounds() const;
  // The scene pixels the sprite can change, cut to the scene.
  QRegion damage() const;
  QSize pictureSize() const { return denseSource ? denseSource->size : image.size(); }
  bool isOpaque() const { return denseSource ? denseSource->opaque : !image.hasAlphaChannel(); }
};

struct TextOp {
  QString text;
  QFont font;
  std::int32_t x = 0;
  std::int32_t y = 0;
  SceneColour colour = 0;
  int ascentPx = 0;
  QRect inkBounds;  // measured when recorded, padded for antialiasing, cut to the scene

  bool operator==(const TextOp& other) const;
  QRect bounds() const { return inkBounds; }
};

using DrawOp = std::variant<FillOp, SpriteOp, TextOp>;
using DisplayList = std::vector<DrawOp>;

QRect opBounds(const DrawOp& op);
// The scene pixels an op can change: its bounds, or less for a sprite with clear parts.
QRegion opDamage(const DrawOp& op);
// Whether two ops paint the same picture, wherever they put it: a sprite's picture does not
// change with its place, a text is laid out anew at each place.
bool samePicture(const DrawOp& a, const DrawOp& b);
// How many ops at the bottom of the list hide what lies below them: the fills and the opaque
// pictures, which in a scene are its background and seldom change.
std::size_t opaqueBaseLength(const DisplayList& list);

inline QRect toQRect(const PixelRect& rect) {
  return QRect(rect.x, rect.y, rect.width, rect.height);
}

}  // namespace skyfare
