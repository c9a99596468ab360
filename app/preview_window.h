#pragma once

#include <QImage>
#include <QRasterWindow>
#include <QTimer>
#include <memory>

#include "platform/x11_window_watch.h"

namespace skyfare {

inline constexpr int kPreviewWidth = 153;
inline constexpr int kPreviewHeight = 112;
inline constexpr const char* kPreviewPictureFile = "preview.bmp";

// The still picture inside the host's preview area: black, with the scene's picture at its top
// left at its own size. It follows the host's size and ends the program when the host window is
// gone.
class PreviewWindow final : public QRasterWindow {
 public:
  PreviewWindow(QWindow* host, std::unique_ptr<X11WindowWatch> watch, QImage picture);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void followHost();

  std::unique_ptr<X11WindowWatch> watch_;
  QImage picture_;
  QTimer hostTimer_;
};

// Shows the preview inside the given host window and runs until the host is destroyed.
// A handle that names no window ends the program at once.
int runPreview(std::int64_t hostWindow, const std::string& dataFolder);

}  // namespace skyfare
