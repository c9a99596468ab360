#include "screen/xrender_composer.h"

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "drawing/frame_damage.h"
#include "screen/x11_visual.h"
#include "screen/xcb_reply.h"

namespace skyfare {
namespace {

constexpr int kBytesPerPixel = 4;
constexpr std::uint8_t kOpaqueDepth = 24;
constexpr std::uint8_t kTranslucentDepth = 32;
constexpr std::uint16_t kChannelMask = 0xFF;
// The server's scratch picture: a band of this many bytes at a time keeps it small on any
// screen.
constexpr std::size_t kScratchBytes = std::size_t{1} << 20;
// Pixels are painted here and put on the server a strip of at most this size at a time, one
// request each, so that one picture does not hold up the others and painting never holds a
// whole picture.
constexpr std::size_t kLargestPutBytes = std::size_t{256} << 10;
constexpr std::size_t kPutRequestHeaderBytes = 24;

bool renderTurnedOff() {
  const char* off = std::getenv("SKYFARE_NO_XRENDER");
  return off != nullptr && *off != '\0' && *off != '0';
}

bool hasThirtyTwoBitPixmaps(const xcb_setup_t* setup) {
  for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem;
       xcb_format_next(&formats)) {
    if (formats.data->depth == kTranslucentDepth && formats.data->bits_per_pixel == 32)
      return true;
  }
  return false;
}

// The format with red, green and blue in the bytes Qt's 32-bit formats use, and alpha in the
// top byte or none.
bool isQtOrder(const xcb_render_pictforminfo_t& format, bool alpha) {
  const xcb_render_directformat_t& d = format.direct;
  return format.type == XCB_RENDER_PICT_TYPE_DIRECT && d.red_shift == 16 &&
         d.red_mask == kChannelMask && d.green_shift == 8 && d.green_mask == kChannelMask &&
         d.blue_shift == 0 && d.blue_mask == kChannelMask &&
         (alpha ? d.alpha_shift == 24 && d.alpha_mask == kChannelMask : d.alpha_mask == 0);
}

std::optional<xcb_render_pictformat_t> formatOfVisual(
    const xcb_render_query_pict_formats_reply_t& formats, xcb_visualid_t visual) {
  for (auto screens = xcb_render_query_pict_formats_screens_iterator(&formats); screens.rem;
       xcb_render_pictscreen_next(&screens)) {
    for (auto depths = xcb_render_pictscreen_depths_iterator(screens.data); depths.rem;
         xcb_render_pictdepth_next(&depths)) {
      for (auto visuals = xcb_render_pictdepth_visuals_iterator(depths.data); visuals.rem;
           xcb_render_pictvisual_next(&visuals)) {
        if (visuals.data->visual == visual)
          return visuals.data->format;
      }
    }
  }
  return std::nullopt;
}

std::optional<xcb_render_pictformat_t> findFormat(
    const xcb_render_query_pict_formats_reply_t& formats, std::uint8_t depth, bool alpha) {
  for (auto format = xcb_render_query_pict_formats_formats_iterator(&formats); format.rem;
       xcb_render_pictforminfo_next(&format)) {
    if (format.data->depth == depth && isQtOrder(*format.data, alpha))
      return format.data->id;
  }
  return std::nullopt;
}

xcb_gcontext_t makeGc(xcb_connection_t* connection, xcb_drawable_t drawable) {
  const xcb_gcontext_t gc = xcb_generate_id(connection);
  const std::uint32_t noExposures = 0;
  xcb_create_gc(connection, gc, drawable, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
  return gc;
}

std::int16_t coordinate(int value) {
  return static_cast<std::int16_t>(value);
}

std::uint16_t length(int value) {
  return static_cast<std::uint16_t>(value);
}

}  // namespace

std::unique_ptr<XRenderComposer> XRenderComposer::create(
    QWindow& window, std::shared_ptr<ScaledPictures> scaledPictures) {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || renderTurnedOff() || window.handle() == nullptr)
    return nullptr;
  xcb_connection_t* connection = x11->connection();
  if (connection == nullptr)
    return nullptr;
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_render_id);
  if (extension == nullptr || !extension->present ||
      !hasThirtyTwoBitPixmaps(xcb_get_setup(connection)))
    return nullptr;
  const auto id = static_cast<xcb_window_t>(window.winId());
  const auto attributesCookie = xcb_get_window_attributes(connection, id);
  const auto geometryCookie = xcb_get_geometry(connection, id);
  const auto formatsCookie = xcb_render_query_pict_formats(connection);
  const auto attributes =
      owned(xcb_get_window_attributes_reply(connection, attributesCookie, nullptr));
  const auto geometry = owned(xcb_get_geometry_reply(connection, geometryCookie, nullptr));
  const auto formats =
      owned(xcb_render_query_pict_formats_reply(connection, formatsCookie, nullptr));
  if (!attributes || !geometry || !formats ||
      !visualMatchesRgb32(xcb_get_setup(connection), geometry->depth, attributes->visual))
    return nullptr;
  const auto opaque = formatOfVisual(*formats, attributes->visual);
  const auto translucent = findFormat(*formats, kTranslucentDepth, true);
  if (!opaque || !translucent)
    return nullptr;
  auto composer = std::make_unique<XRenderComposer>(
      Checked{}, connection, id, Formats{*opaque, *translucent}, std::move(scaledPictures));
  composer->resize(window.size());
  if (composer->base_.pixmap == 0)
    return nullptr;
  return composer;
}

XRenderComposer::XRenderComposer(Checked, xcb_connection_t* connection, xcb_window_t window,
                                 Formats formats, std::shared_ptr<ScaledPictures> scaledPictures)
    : connection_(connection),
      window_(window),
      formats_(formats),
      scaledPictures_(std::move(scaledPictures)),
      largestPutBytes_(std::min(
          kLargestPutBytes,
          std::size_t{xcb_get_maximum_request_length(connection)} * 4 - kPutRequestHeaderBytes)),
      opaqueGc_(makeGc(connection, window)),
      copyGc_(makeGc(connection, window)) {}

XRenderComposer::~XRenderComposer() {
  for (Item& item : items_) freePicture(item.held);
  freePicture(base_);
  freePicture(scratch_);
  if (translucentGc_ != 0)
    xcb_free_gc(connection_, translucentGc_);
  xcb_free_gc(connection_, opaqueGc_);
  xcb_free_gc(connection_, copyGc_);
  xcb_flush(connection_);
}

void XRenderComposer::resize(QSize windowSize) {
  windowSize = windowSize.expandedTo(QSize(1, 1));
  if (windowSize == windowSize_ && base_.pixmap != 0)
    return;
  windowSize_ = windowSize;
  for (Item& item : items_) freePicture(item.held);
  items_.clear();
  freePicture(base_);
  freePicture(scratch_);
  // A screen-sized pixmap is the one request here that the server may well refuse.
  base_ = makePicture(windowSize, false, true);
  if (base_.pixmap == 0) {
    std::fprintf(stderr, "skyfare: the X server has no room for a %d x %d picture\n",
                 windowSize.width(), windowSize.height());
    return;
  }
  const int rowBytes = windowSize.width() * kBytesPerPixel;
  const int scratchRows = std::clamp(
      static_cast<int>(kScratchBytes / static_cast<std::size_t>(rowBytes)), 1, windowSize.height());
  scratch_ = makePicture(QSize(windowSize.width(), scratchRows), false);
  baseShown_.clear();
  baseUnpainted_ = QRegion(QRect(QPoint(0, 0), windowSize));
}

XRenderComposer::ServerPicture XRenderComposer::makePicture(QSize size, bool translucent,
                                                            bool checked) {
  ServerPicture held{xcb_generate_id(connection_), xcb_generate_id(connection_), size};
  const std::uint8_t depth = translucent ? kTranslucentDepth : kOpaqueDepth;
  if (checked) {
    const auto refused = owned(xcb_request_check(
        connection_, xcb_create_pixmap_checked(connection_, depth, held.pixmap, window_,
                                               length(size.width()), length(size.height()))));
    if (refused)
      return {};
  } else {
    xcb_create_pixmap(connection_, depth, held.pixmap, window_, length(size.width()),
                      length(size.height()));
  }
  xcb_render_create_picture(connection_, held.picture, held.pixmap,
                            translucent ? formats_.translucent : formats_.opaque, 0, nullptr);
  if (translucent && translucentGc_ == 0)
    translucentGc_ = makeGc(connection_, held.pixmap);
  return held;
}

void XRenderComposer::freePicture(ServerPicture& held) {
  if (held.pixmap == 0)
    return;
  xcb_render_free_picture(connection_, held.picture);
  xcb_free_pixmap(connection_, held.pixmap);
  held = ServerPicture{};
}

void XRenderComposer::present(const QRegion& region, const DisplayList& list,
                              SceneRenderer& renderer) {
  if (base_.pixmap == 0)
    return;
  const auto baseEnd = list.begin() + static_cast<std::ptrdiff_t>(opaqueBaseLength(list));
  if (!std::equal(list.begin(), baseEnd, baseShown_.begin(), baseShown_.end())) {
    DisplayList base(list.begin(), baseEnd);
    baseUnpainted_ += renderer.mapping().toTarget(frameDamage(baseShown_, base));
    baseShown_ = std::move(base);
  }
  QRegion repaint = region;
  const bool basePainted = !baseUnpainted_.isEmpty();
  if (basePainted) {
    paintBase(baseUnpainted_, baseShown_, renderer);
    repaint += baseUnpainted_;
    baseUnpainted_ = QRegion();
  }
  const std::size_t above = static_cast<std::size_t>(list.end() - baseEnd);
  for (std::size_t index = above; index < items_.size(); ++index) freePicture(items_[index].held);
  items_.resize(above);
  bool itemPainted = false;
  for (std::size_t index = 0; index < above; ++index)
    itemPainted |=
        showItem(items_[index], *(baseEnd + static_cast<std::ptrdiff_t>(index)), renderer);
  compose(repaint & QRect(QPoint(0, 0), windowSize_), renderer.mapping().content());
  xcb_flush(connection_);
  // The server now holds every picture this list draws, and paints none of them again until an
  // op draws something else: the program needs no unpacked copy of any (a screen's worth of
  // background, an airliner), and the bands painting them took may go too.
  if (basePainted || itemPainted)
    scaledPictures_->letGoOfUndrawn(DisplayList());
}

int XRenderComposer::rowsPerPut(int width) const {
  return std::max(
      1, static_cast<int>(largestPutBytes_ / (static_cast<std::size_t>(width) * kBytesPerPixel)));
}

void XRenderComposer::paintBase(const QRegion& region, const DisplayList& base,
                                SceneRenderer& renderer) {
  const QRect content = renderer.mapping().content();
  const QRegion inWindow = region & QRect(QPoint(0, 0), windowSize_);
  for (const QRect& rect : inWindow) {
    const int rows = rowsPerPut(rect.width());
    for (int top = rect.top(); top <= rect.bottom(); top += rows) {
      const QRect part(rect.left(), top, rect.width(), std::min(rows, rect.bottom() + 1 - top));
      QImage pixels(part.size(), QImage::Format_RGB32);
      {
        QPainter painter(&pixels);
        painter.translate(-part.topLeft());
        painter.setClipRect(part);
        if (!content.contains(part))
          renderer.renderBars(painter);
        renderer.render(painter, base, QRegion(part), SceneRenderer::Unpacking::RowsPainted);
      }
      upload(pixels, base_.pixmap, opaqueGc_, part.topLeft(), kOpaqueDepth);
    }
  }
}

bool XRenderComposer::showItem(Item& item, const DrawOp& op, SceneRenderer& renderer) {
  const QRect footprint = renderer.footprint(op);
  const QRect content = renderer.mapping().content();
  const QRect shown = footprint & content;
  if (shown.isEmpty()) {
    item.place = QRect();
    return false;
  }
  // The whole op is held, so that one crossing the content's edge is only moved; one larger than
  // the content is cut to it, which keeps the server's memory in proportion to the screen.
  const bool fits = footprint.width() <= content.width() && footprint.height() <= content.height();
  const QRect heldPart = (fits ? footprint : shown).translated(-footprint.topLeft());
  const bool paint = !item.painted || item.heldPart != heldPart || !samePicture(*item.painted, op);
  if (paint) {
    if (item.held.size != heldPart.size()) {
      freePicture(item.held);
      item.held = makePicture(heldPart.size(), true);
    }
    const QPoint origin = footprint.topLeft() + heldPart.topLeft();
    const int rows = rowsPerPut(heldPart.width());
    for (int top = 0; top < heldPart.height(); top += rows) {
      const QRect strip(origin.x(), origin.y() + top, heldPart.width(),
                        std::min(rows, heldPart.height() - top));
      QImage pixels(strip.size(), QImage::Format_ARGB32_Premultiplied);
      pixels.fill(Qt::transparent);
      {
        QPainter painter(&pixels);
        painter.translate(-strip.topLeft());
        renderer.renderOne(painter, op, strip, SceneRenderer::Unpacking::RowsPainted);
      }
      upload(pixels, item.held.pixmap, translucentGc_, QPoint(0, top), kTranslucentDepth);
    }
    item.painted = op;
    item.heldPart = heldPart;
  }
  item.place = heldPart.translated(footprint.topLeft());
  return paint;
}

void XRenderComposer::upload(const QImage& image, xcb_pixmap_t pixmap, xcb_gcontext_t gc, QPoint at,
                             int depth) {
  const auto rowBytes = static_cast<std::size_t>(image.bytesPerLine());
  const int rows = std::max(1, static_cast<int>(largestPutBytes_ / rowBytes));
  for (int top = 0; top < image.height(); top += rows) {
    const int count = std::min(rows, image.height() - top);
    xcb_put_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, length(image.width()),
                  length(count), coordinate(at.x()), coordinate(at.y() + top), 0,
                  static_cast<std::uint8_t>(depth),
                  static_cast<std::uint32_t>(rowBytes * static_cast<std::size_t>(count)),
                  image.constScanLine(top));
  }
}

void XRenderComposer::compose(const QRegion& region, const QRect& content) {
  // A band of rows at a time goes through the scratch picture, clipped to the band's part of
  // the region: a few requests a band, however many rectangles the damage has.
  const int rows = scratch_.size.height();
  const QRect bounds = region.boundingRect();
  std::vector<xcb_rectangle_t> clip;
  for (int top = bounds.top(); top <= bounds.bottom(); top += rows) {
    const QRegion part = region & QRect(0, top, windowSize_.width(), rows);
    if (part.isEmpty())
      continue;
    clip.clear();
    for (const QRect& rect : part) {
      clip.push_back(xcb_rectangle_t{coordinate(rect.x()), coordinate(rect.y()),
                                     length(rect.width()), length(rect.height())});
    }
    const auto count = static_cast<std::uint32_t>(clip.size());
    xcb_render_set_picture_clip_rectangles(connection_, scratch_.picture, 0, coordinate(-top),
                                           count, clip.data());
    const QRect box = part.boundingRect();
    xcb_render_composite(connection_, XCB_RENDER_PICT_OP_SRC, base_.picture, XCB_NONE,
                         scratch_.picture, coordinate(box.x()), coordinate(box.y()), 0, 0,
                         coordinate(box.x()), coordinate(box.y() - top), length(box.width()),
                         length(box.height()));
    const QRect drawable = box & content;
    for (const Item& item : items_) {
      const QRect blended = item.place & drawable;
      if (blended.isEmpty())
        continue;
      xcb_render_composite(connection_, XCB_RENDER_PICT_OP_OVER, item.held.picture, XCB_NONE,
                           scratch_.picture, coordinate(blended.x() - item.place.x()),
                           coordinate(blended.y() - item.place.y()), 0, 0, coordinate(blended.x()),
                           coordinate(blended.y() - top), length(blended.width()),
                           length(blended.height()));
    }
    xcb_set_clip_rectangles(connection_, XCB_CLIP_ORDERING_YX_BANDED, copyGc_, 0, 0, count,
                            clip.data());
    xcb_copy_area(connection_, scratch_.pixmap, window_, copyGc_, coordinate(box.x()),
                  coordinate(box.y() - top), coordinate(box.x()), coordinate(box.y()),
                  length(box.width()), length(box.height()));
  }
}

}  // namespace skyfare
