#pragma once

#include <QImage>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>

#include "drawing/display_list.h"
#include "drawing/packed_picture.h"
#include "drawing/scene_mapping.h"
#include "pictures/density_variant.h"

namespace skyfare {

// Sprite pictures scaled for the screens, shared by the renderers of every screen. Each
// picture is prepared when it is loaded, at every scale a renderer uses, and at every scale
// that comes into use later, and kept until its sprite loads another picture or no renderer
// uses the scale any more: a frame that draws it reads no file, reduces nothing and starts no
// thread. A picture that packs well is kept packed; the first frame to draw it unpacks it in
// memory (a fraction of a millisecond for an airliner at 3840 × 2160), and it is let go of
// again once the frames no longer draw it, so only what is on the screen takes its full size.
class ScaledPictures {
 public:
  // The sprite's picture as loaded: `picture` is the 1× picture read, `dense` where a denser
  // one comes from. Prepares it at every scale in use, in place of the one it replaces.
  void setSource(SpriteHandle sprite, std::uint64_t imageVersion, const QImage& picture,
                 std::shared_ptr<const DenseSource> dense);
  // A renderer at the mapping's scale, and one that leaves it. A scale that comes into use has
  // every picture prepared for it; one that goes out of use takes its pictures with it.
  void addScale(const SceneMapping& mapping);
  void removeScale(double scale);

  // The op's picture at the mapping's scale. A picture nobody prepared (a renderer fed by no
  // component, or an op of a picture since replaced) is made now and kept while it is drawn.
  const QImage& scaled(const SpriteOp& op, const SceneMapping& mapping);
  // Rows of the op's picture at the mapping's scale that hold picture rows [firstRow, endRow),
  // for a painter that paints them once (into a picture held elsewhere): the whole picture when
  // it is unpacked anyway, else only the bands that hold those rows, unpacked now and kept
  // until other rows are asked for or the picture is let go of. The picture starts at picture
  // row `topRow`.
  const QImage& scaledRows(const SpriteOp& op, const SceneMapping& mapping, int firstRow,
                           int endRow, int& topRow);
  // Lets go of the unpacked copies, and of the pictures made while drawing, that the list does
  // not draw.
  void letGoOfUndrawn(const DisplayList& drawn);

 private:
  struct Source {
    std::uint64_t imageVersion = 0;
    QImage picture;  // null for a dense source, which keeps no 1× pixels
    std::shared_ptr<const DenseSource> dense;
  };
  struct Scale {
    SceneMapping mapping;
    int renderers = 0;
  };
  struct Prepared {
    std::uint64_t imageVersion = 0;
    PackedPicture packed;  // empty when the picture does not pack well
    QImage unpacked;       // null while let go of
    QImage someRows;       // bands unpacked for scaledRows, from picture row someRowsTop on
    int someRowsTop = 0;
  };
  using Key = std::pair<SpriteHandle, double>;

  static Prepared prepare(std::uint64_t imageVersion, const QImage& picture,
                          const DenseSource* dense, const SceneMapping& mapping);

  std::map<SpriteHandle, Source> sources_;
  std::map<double, Scale> scales_;
  std::map<Key, Prepared> prepared_;
  std::map<Key, Prepared> madeWhileDrawing_;
};

}  // namespace skyfare
