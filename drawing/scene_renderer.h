#pragma once

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <memory>

#include "drawing/display_list.h"
#include "drawing/scaled_pictures.h"
#include "drawing/scene_mapping.h"

namespace skyfare {

// Paints a display list onto a target at the target's own scale. Pictures come scaled from a
// store of its own or one shared with the renderers of other screens, which prepares every
// picture it is given for the scales its renderers use; a frame only copies and blends them. A
// picture with a dense source is reduced from its denser file when the target enlarges the
// scene, so it stays sharp. Painting
// a region gives each of its pixels exactly the value a full repaint would, so a target can be
// kept up to date by painting only what changed. Pixels that no op covers are black.
class SceneRenderer {
 public:
  // How much of a packed picture a paint unpacks: the whole picture, kept for the frames after,
  // or only the rows it paints, for a target painted once and held elsewhere after (a picture
  // on the X server, a compositor's buffer).
  enum class Unpacking { Whole, RowsPainted };

  explicit SceneRenderer(QSize targetSize, std::shared_ptr<ScaledPictures> shared = {});
  ~SceneRenderer();
  SceneRenderer(const SceneRenderer&) = delete;
  SceneRenderer& operator=(const SceneRenderer&) = delete;

  // A size of another scale has the store prepare its pictures for that scale, at once.
  void setTargetSize(QSize targetSize);
  const SceneMapping& mapping() const { return mapping_; }

  // Paints the list inside the region, which is in target pixels and is cut to the content.
  // The painter's transform maps target pixels to the device, which may hold a part of the
  // target only.
  void render(QPainter& painter, const DisplayList& list, const QRegion& targetRegion,
              Unpacking unpacking = Unpacking::Whole);
  // Paints the bars around the content black.
  void renderBars(QPainter& painter) const;
  // Paints one op inside the rectangle (target pixels) over whatever the device holds there, so
  // that a picture of the op alone, blended over the rest of the list, gives what render gives.
  void renderOne(QPainter& painter, const DrawOp& op, const QRect& targetRect,
                 Unpacking unpacking = Unpacking::Whole);
  // The target pixels the op paints, before they are cut to the content.
  QRect footprint(const DrawOp& op) const;

 private:
  void renderRect(QPainter& painter, const DisplayList& list, const QRect& rect,
                  Unpacking unpacking);
  void paintOp(QPainter& painter, const DrawOp& op, const QRect& rect,
               Unpacking unpacking = Unpacking::Whole);
  bool covers(const DrawOp& op, const QRect& rect) const;

  SceneMapping mapping_;
  std::shared_ptr<ScaledPictures> scaledPictures_;
};

}  // namespace skyfare
