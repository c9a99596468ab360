#pragma once

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <cstdint>
#include <unordered_map>

#include "controls/display_list.h"
#include "controls/scene_mapping.h"

namespace skyfare {

// Paints a display list onto a target at the target's own scale. Pictures are scaled once per
// picture version and kept; a frame only copies and blends them. A picture with a dense source
// is reduced from its denser file when the target enlarges the scene, so it stays sharp. Painting a
// region gives each of its pixels exactly the value a full repaint would, so a target can be kept
// up to date by painting only what changed. Pixels that no op covers are black.
class SceneRenderer {
 public:
  explicit SceneRenderer(QSize targetSize);

  // A new size drops the scaled pictures when the scale changes.
  void setTargetSize(QSize targetSize);
  const SceneMapping& mapping() const { return mapping_; }

  // Paints the list inside the region, which is in target pixels and is cut to the content.
  void render(QPainter& painter, const DisplayList& list, const QRegion& targetRegion);
  // Paints the bars around the content black.
  void renderBars(QPainter& painter) const;

 private:
  struct ScaledPicture {
    std::uint64_t imageVersion = 0;
    QImage image;
  };

  void renderRect(QPainter& painter, const DisplayList& list, const QRect& rect);
  void paintOp(QPainter& painter, const DrawOp& op, const QRect& rect);
  QRect footprint(const DrawOp& op) const;
  bool covers(const DrawOp& op, const QRect& rect) const;
  const QImage& scaled(const SpriteOp& op);

  SceneMapping mapping_;
  std::unordered_map<SpriteHandle, ScaledPicture> scaledPictures_;
};

}  // namespace skyfare
