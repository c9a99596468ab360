#pragma once

#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <QWindow>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "screen/window_presenter.h"

namespace skyfare {

// Presents an X window from a memory segment shared with the X server: each part of a frame is
// painted into the segment, packed one after another at its own width, and put with one
// request. Before the segment is painted over, one reply that was asked for behind the last
// puts shows the server has read them; at 60 frames a second it has long arrived. So a frame
// costs a few requests and no wake-up of another thread, and the segment holds about one
// frame's damage rather than a window's height of rows.
class ShmPresenter final : public WindowPresenter {
 public:
  // Empty when the window's display cannot take shared-memory frames from us (another
  // platform, a remote display, a visual other than 24-bit true colour, or shared memory
  // turned off with QT_X11_NO_MITSHM, which Qt's own presenter obeys too).
  static std::unique_ptr<ShmPresenter> create(QWindow& window);

 private:
  struct Checked {
    explicit Checked() = default;
  };

 public:
  // Made by create() only, for a window it has checked.
  ShmPresenter(Checked, xcb_connection_t* connection, xcb_window_t window, std::uint8_t depth);
  ~ShmPresenter() override;
  ShmPresenter(const ShmPresenter&) = delete;
  ShmPresenter& operator=(const ShmPresenter&) = delete;

  void resize(QSize windowSize) override;
  void present(const QRegion& region, const PaintPart& paint) override;

 private:
  // A new segment of the given size, attached to the server; false when it refuses it.
  bool attachSegment(std::size_t bytes);
  void releaseSegment();
  // Waits until the server has read every part put so far, so the segment may be reused.
  void waitForPuts();

  xcb_connection_t* connection_;
  xcb_window_t window_;
  std::uint8_t depth_;
  xcb_gcontext_t gc_ = 0;
  xcb_shm_seg_t segment_ = 0;
  unsigned char* pixels_ = nullptr;
  std::size_t segmentBytes_ = 0;
  std::size_t usedBytes_ = 0;
  std::optional<xcb_get_input_focus_cookie_t> putsRead_;
};

}  // namespace skyfare
