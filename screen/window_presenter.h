#pragma once

#include <QPainter>
#include <QRegion>
#include <QSize>
#include <functional>

namespace skyfare {

// Puts freshly painted parts of a window on the screen. The window's picture is kept by the
// display server, so a presenter holds only the pixels of the parts it is putting.
class WindowPresenter {
 public:
  // Paints the given part of the window; the painter maps window pixels onto a device that
  // may hold only that part, and is clipped to it.
  using PaintPart = std::function<void(QPainter&, const QRegion&)>;

  virtual ~WindowPresenter() = default;
  virtual void resize(QSize windowSize) = 0;
  // Paints the region part by part and puts each part on the window.
  virtual void present(const QRegion& region, const PaintPart& paint) = 0;
};

}  // namespace skyfare
