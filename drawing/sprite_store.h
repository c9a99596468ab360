#pragma once

#include <QImage>
#include <QRegion>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/controls/drawing_control.h"
#include "pictures/density_variant.h"

namespace skyfare {

// The sprites of a drawing component: handles 1, 2, 3, … that are never reused, each with a
// picture and a place. A handle that names no sprite is ignored by every operation. Every
// picture loaded gets a version number of its own, so a changed picture is never mistaken
// for the one it replaced.
class SpriteStore {
 public:
  struct Sprite {
    // Null for an empty sprite, which draws nothing, and for one with a dense source, which
    // keeps no 1× pixels.
    QImage image;
    QRegion coverage;
    std::uint64_t imageVersion = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    // Set for a picture read from the dense picture folder.
    std::shared_ptr<const DenseSource> denseSource;
  };

  // Pictures loaded later from this folder come at higher densities too (the program's own
  // pictures); pictures from anywhere else have only their one file.
  void setDensePictureFolder(const std::string& folder);
  SpriteHandle create();
  // Says on standard error, in one line, when the file cannot be read. Returns the picture
  // read, also when the sprite keeps no 1× pixels: they are what its scaled pictures are
  // prepared from, so no file is read twice. Null for a handle that names no sprite.
  QImage loadImage(SpriteHandle sprite, const std::string& fileName, int transparentMode);
  // Null for a handle that names no sprite.
  Sprite* find(SpriteHandle sprite);
  const Sprite* find(SpriteHandle sprite) const;

 private:
  QString densePictureFolder_;  // canonical; empty when no folder is set
  std::vector<Sprite> sprites_;
  std::uint64_t lastImageVersion_ = 0;
};

}  // namespace skyfare
