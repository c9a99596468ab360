#pragma once

#include <QImage>
#include <cstdint>
#include <map>
#include <set>
#include <utility>

#include "controls/display_list.h"
#include "controls/scene_mapping.h"

namespace skyfare {

// Sprite pictures scaled for the screens. Renderers of screens that share a scale share one
// scaled copy of each picture, made when it is first drawn at that scale.
class ScaledPictures {
 public:
  // The op's picture at the mapping's scale; a new picture version replaces the old one.
  const QImage& scaled(const SpriteOp& op, const SceneMapping& mapping);
  // Drops every copy that the list does not draw, or that is at a scale not in use, so
  // aircraft that have left and screens that have gone hold no memory.
  void keepOnly(const DisplayList& drawn, const std::set<double>& scalesInUse);
  void clear() { pictures_.clear(); }

 private:
  struct ScaledPicture {
    bool made = false;  // also when it could not be made, so it is not tried every frame
    std::uint64_t imageVersion = 0;
    QImage image;
  };
  using Key = std::pair<SpriteHandle, double>;

  std::map<Key, ScaledPicture> pictures_;
};

}  // namespace skyfare
