#pragma once

#include <xcb/render.h>
#include <xcb/xcb.h>

#include <QRect>
#include <QRegion>
#include <QSize>
#include <QWindow>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "drawing/display_list.h"
#include "drawing/scaled_pictures.h"
#include "drawing/scene_renderer.h"

namespace skyfare {

// Has the X server compose an X window's frames from pictures it holds (the RENDER extension).
// The bars and the opaque ops at the bottom of the list (the background) are painted once into
// a picture of the window's size on the server; every op above has a picture of its own there,
// painted again only when the op draws something else. A frame then costs a few requests per
// damaged rectangle: the background copied into a small scratch picture, the ops above blended
// over it, the result copied onto the window, so the window never shows a half-drawn part. The
// program keeps none of those pixels: each picture is painted a strip at a time, from the bands
// of its packed copy that hold those rows, and once it is on the server nothing of it stays
// unpacked. The ops above are cut to the content, so nothing draws over the bars.
class XRenderComposer {
 public:
  // Empty when the window's display cannot compose for us: another platform, a server without
  // RENDER or without 32-bit pictures, a visual other than 24-bit true colour, or RENDER turned
  // off with SKYFARE_NO_XRENDER.
  static std::unique_ptr<XRenderComposer> create(QWindow& window,
                                                 std::shared_ptr<ScaledPictures> scaledPictures);

 private:
  struct Checked {
    explicit Checked() = default;
  };
  struct Formats {
    xcb_render_pictformat_t opaque = 0;       // the window's: 24 bits, no alpha
    xcb_render_pictformat_t translucent = 0;  // 32 bits, premultiplied alpha
  };

 public:
  // Made by create() only, for a window it has checked.
  XRenderComposer(Checked, xcb_connection_t* connection, xcb_window_t window, Formats formats,
                  std::shared_ptr<ScaledPictures> scaledPictures);
  ~XRenderComposer();
  XRenderComposer(const XRenderComposer&) = delete;
  XRenderComposer& operator=(const XRenderComposer&) = delete;

  // The whole window is painted again at the next present.
  void resize(QSize windowSize);
  // Shows the list as the renderer places it, putting the region (window pixels) on the window
  // and whatever else the list's changes ask for.
  void present(const QRegion& region, const DisplayList& list, SceneRenderer& renderer);

 private:
  // A pixmap of the server with a picture over it.
  struct ServerPicture {
    xcb_pixmap_t pixmap = 0;
    xcb_render_picture_t picture = 0;
    QSize size;
  };
  // An op above the background, and its picture on the server.
  struct Item {
    ServerPicture held;
    std::optional<DrawOp> painted;  // the op the picture was painted from
    QRect heldPart;                 // of the op's footprint, in window pixels, relative to it
    QRect place;                    // where the held picture goes, in window pixels
  };

  // A checked picture is made at once, and is empty when the server refuses it.
  ServerPicture makePicture(QSize size, bool translucent, bool checked = false);
  void freePicture(ServerPicture& held);
  void paintBase(const QRegion& region, const DisplayList& base, SceneRenderer& renderer);
  // Puts the op's picture on the server unless it is there already, and says whether it did.
  bool showItem(Item& item, const DrawOp& op, SceneRenderer& renderer);
  int rowsPerPut(int width) const;
  // Sends the image's pixels to the pixmap, at `at`, in requests the server takes.
  void upload(const QImage& image, xcb_pixmap_t pixmap, xcb_gcontext_t gc, QPoint at, int depth);
  void compose(const QRegion& region, const QRect& content);

  xcb_connection_t* connection_;
  xcb_window_t window_;
  Formats formats_;
  std::shared_ptr<ScaledPictures> scaledPictures_;
  std::size_t largestPutBytes_;
  xcb_gcontext_t opaqueGc_ = 0;       // puts pixels in opaque pixmaps
  xcb_gcontext_t copyGc_ = 0;         // copies the scratch onto the window, clipped
  xcb_gcontext_t translucentGc_ = 0;  // puts pixels in translucent ones, made with the first
  QSize windowSize_;
  ServerPicture base_;
  ServerPicture scratch_;
  DisplayList baseShown_;
  QRegion baseUnpainted_;  // window pixels the base picture does not hold yet
  std::vector<Item> items_;
};

}  // namespace skyfare
