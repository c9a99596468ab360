#include "screen/shm_presenter.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>

#include "screen/x11_visual.h"
#include "screen/xcb_reply.h"

namespace skyfare {
namespace {

constexpr int kBytesPerPixel = 4;
// The segment's size as a share of the window's, and at most a fixed size: a frame's damage
// usually fits in one go, and on large screens a few waits cost less than the memory.
constexpr int kWindowBytesPerSegmentByte = 16;
constexpr std::size_t kLargestSegmentBytes = std::size_t{1} << 20;

bool sharedMemoryTurnedOff() {
  const char* off = std::getenv("QT_X11_NO_MITSHM");
  return off != nullptr && *off != '\0' && *off != '0';
}

// Fd passing (version 1.2) lets the segment be an unnamed file that dies with its users.
bool serverTakesSegmentFds(xcb_connection_t* connection) {
  const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_shm_id);
  if (extension == nullptr || !extension->present)
    return false;
  const auto version =
      owned(xcb_shm_query_version_reply(connection, xcb_shm_query_version(connection), nullptr));
  return version && (version->major_version > 1 ||
                     (version->major_version == 1 && version->minor_version >= 2));
}

}  // namespace

std::unique_ptr<ShmPresenter> ShmPresenter::create(QWindow& window) {
  const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || sharedMemoryTurnedOff() || window.handle() == nullptr)
    return nullptr;
  xcb_connection_t* connection = x11->connection();
  const auto id = static_cast<xcb_window_t>(window.winId());
  if (connection == nullptr || !serverTakesSegmentFds(connection))
    return nullptr;
  const auto attributesCookie = xcb_get_window_attributes(connection, id);
  const auto geometryCookie = xcb_get_geometry(connection, id);
  const auto attributes =
      owned(xcb_get_window_attributes_reply(connection, attributesCookie, nullptr));
  const auto geometry = owned(xcb_get_geometry_reply(connection, geometryCookie, nullptr));
  if (!attributes || !geometry ||
      !visualMatchesRgb32(xcb_get_setup(connection), geometry->depth, attributes->visual))
    return nullptr;
  auto presenter = std::make_unique<ShmPresenter>(Checked{}, connection, id, geometry->depth);
  presenter->resize(window.size());
  if (presenter->segmentBytes_ == 0)
    return nullptr;
  return presenter;
}

ShmPresenter::ShmPresenter(Checked, xcb_connection_t* connection, xcb_window_t window,
                           std::uint8_t depth)
    : connection_(connection), window_(window), depth_(depth), gc_(xcb_generate_id(connection)) {
  const std::uint32_t noExposures = 0;
  xcb_create_gc(connection_, gc_, window_, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
}

ShmPresenter::~ShmPresenter() {
  releaseSegment();
  xcb_free_gc(connection_, gc_);
  xcb_flush(connection_);
}

void ShmPresenter::resize(QSize windowSize) {
  const std::size_t rowBytes =
      static_cast<std::size_t>(std::max(windowSize.width(), 1)) * kBytesPerPixel;
  const std::size_t windowBytes =
      rowBytes * static_cast<std::size_t>(std::max(windowSize.height(), 1));
  // At least one full row, so every part can be painted.
  const std::size_t wanted =
      std::max(rowBytes, std::min(windowBytes / kWindowBytesPerSegmentByte, kLargestSegmentBytes));
  if (wanted == segmentBytes_)
    return;
  releaseSegment();
  if (!attachSegment(wanted))
    releaseSegment();
}

bool ShmPresenter::attachSegment(std::size_t bytes) {
  const int fd = memfd_create("skyfare-frame", MFD_CLOEXEC);
  if (fd < 0)
    return false;
  void* mapped = MAP_FAILED;
  if (ftruncate(fd, static_cast<off_t>(bytes)) == 0)
    mapped = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (mapped == MAP_FAILED) {
    close(fd);
    return false;
  }
  pixels_ = static_cast<unsigned char*>(mapped);
  segmentBytes_ = bytes;
  segment_ = xcb_generate_id(connection_);
  // The server reads the frames only; the descriptor goes to it and is closed here.
  const auto error = owned(
      xcb_request_check(connection_, xcb_shm_attach_fd_checked(connection_, segment_, fd, 1)));
  if (error) {
    segment_ = 0;
    return false;
  }
  usedBytes_ = 0;
  return true;
}

void ShmPresenter::releaseSegment() {
  if (segment_ != 0) {
    waitForPuts();
    xcb_shm_detach(connection_, segment_);
    segment_ = 0;
  }
  if (pixels_ != nullptr)
    munmap(pixels_, segmentBytes_);
  pixels_ = nullptr;
  segmentBytes_ = 0;
  usedBytes_ = 0;
}

void ShmPresenter::waitForPuts() {
  if (putsRead_)
    std::free(xcb_get_input_focus_reply(connection_, *putsRead_, nullptr));
  putsRead_.reset();
  usedBytes_ = 0;
}

void ShmPresenter::present(const QRegion& region, const PaintPart& paint) {
  if (segment_ == 0)
    return;
  waitForPuts();
  for (const QRect& rect : region) {
    const std::size_t rowBytes = static_cast<std::size_t>(rect.width()) * kBytesPerPixel;
    if (rowBytes > segmentBytes_)
      continue;
    for (int top = rect.top(); top <= rect.bottom();) {
      if (segmentBytes_ - usedBytes_ < rowBytes) {
        putsRead_ = xcb_get_input_focus(connection_);
        waitForPuts();
      }
      const int rows = static_cast<int>(
          std::min<std::size_t>((segmentBytes_ - usedBytes_) / rowBytes,
                                static_cast<std::size_t>(rect.bottom() + 1 - top)));
      const QRect part(rect.left(), top, rect.width(), rows);
      {
        QImage target(pixels_ + usedBytes_, part.width(), rows, static_cast<qsizetype>(rowBytes),
                      QImage::Format_RGB32);
        QPainter painter(&target);
        painter.translate(-part.left(), -part.top());
        painter.setClipRect(part);
        paint(painter, QRegion(part));
      }
      xcb_shm_put_image(connection_, window_, gc_, static_cast<std::uint16_t>(part.width()),
                        static_cast<std::uint16_t>(rows), 0, 0,
                        static_cast<std::uint16_t>(part.width()), static_cast<std::uint16_t>(rows),
                        static_cast<std::int16_t>(part.left()), static_cast<std::int16_t>(top),
                        depth_, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment_,
                        static_cast<std::uint32_t>(usedBytes_));
      usedBytes_ += rowBytes * static_cast<std::size_t>(rows);
      top += rows;
    }
  }
  putsRead_ = xcb_get_input_focus(connection_);
  xcb_flush(connection_);
}

}  // namespace skyfare
