#pragma once

#include <QImage>
#include <QRasterWindow>
#include <memory>

#include "platform/host_window_follower.h"

namespace skyfare {

inline constexpr int kPreviewWidth = 153;
inline constexpr int kPreviewHeight = 112;
inline constexpr const char* kPreviewPictureFile = "preview.bmp";

// The still picture inside the host's preview area: black, with the scene's picture at its top
// left at its own size. It follows the host's size and ends the program when the host window is
// gone.
class PreviewWindow final : public QRasterWindow {
 public:
  // hostSize is the host's inner size now; the watch tells of every change after.
  PreviewWindow(QWindow* host, QSize hostSize, std::unique_ptr<X11WindowWatch> watch,
                QImage picture);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void followHostSize(QSize hostSize);

  QImage picture_;
  HostWindowFollower follower_;
};

// Shows the preview inside the given host window and runs until the host is destroyed.
// A handle that names no window ends the program at once.
int runPreview(std::int64_t hostWindow, const std::string& dataFolder);

}  // namespace skyfare
