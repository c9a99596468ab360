#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "core/controls/drawing_control.h"
#include "raster/pixel_rect.h"
#include "raster/scene_clip.h"

namespace skyfare::raster {

// The Win32 drawing's own frame list, apart from the Qt drawing's display list (drawing/),
// whose ops have the same names: a program may link both.

// One drawing of a frame, with what is needed to paint it again and to tell whether it
// changed. Bounds are scene pixels, cut to the scene.

struct FillOp {
  SceneColour colour = 0;

  bool operator==(const FillOp&) const = default;
  PixelRect bounds() const { return {0, 0, kSceneWidth, kSceneHeight}; }
};

struct SpriteOp {
  SpriteHandle sprite = 0;
  std::uint64_t pictureVersion = 0;  // stands for the picture: a new picture, a new version
  std::int32_t x = 0;
  std::int32_t y = 0;
  int width = 0;
  int height = 0;
  bool opaque = true;
  // Where the picture can show, in its own pixels (pictureCoverage); null for all of it.
  std::shared_ptr<const PixelRects> coverage;

  // Same sprite, picture and place; the version stands for the picture and its coverage.
  bool operator==(const SpriteOp& other) const;
  PixelRect bounds() const;
  // The scene pixels the sprite can change, cut to the scene.
  PixelRects damage() const;
};

// A font as SetFont names it; the size is in scene pixels, already cut to the largest.
struct FontChoice {
  std::string name;
  int sizePx = 0;
  int charset = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;

  bool operator==(const FontChoice&) const = default;
};

struct TextOp {
  std::string text;  // UTF-8
  FontChoice font;
  std::int32_t x = 0;
  std::int32_t y = 0;
  SceneColour colour = 0;
  PixelRect inkBounds;  // measured when recorded, padded for antialiasing, cut to the scene

  bool operator==(const TextOp&) const = default;
  PixelRect bounds() const { return inkBounds; }
};

using FrameOp = std::variant<FillOp, SpriteOp, TextOp>;
using FrameOps = std::vector<FrameOp>;

PixelRect opBounds(const FrameOp& op);

// The part of the scene that differs between two frames, in scene pixels. Ops are compared by
// their place in the list: an op that changed, or that only one frame has, damages what it can
// change at its old and its new place. Two equal lists give nothing.
PixelRects frameDamage(const FrameOps& previous, const FrameOps& next);

}  // namespace skyfare::raster
