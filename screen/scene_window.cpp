#include "screen/scene_window.h"

#include <QPlatformSurfaceEvent>

#include "screen/presenter_choice.h"

namespace skyfare {

SceneWindow::SceneWindow(const DisplayList& presented, SceneWindowEvents& events, QSize initialSize,
                         std::shared_ptr<ScaledPictures> scaledPictures)
    : presented_(presented), events_(events), renderer_(initialSize, std::move(scaledPictures)) {
  setSurfaceType(QSurface::RasterSurface);
}

bool SceneWindow::present(const QRegion& sceneDamage) {
  return paint(renderer_.mapping().toTarget(sceneDamage));
}

void SceneWindow::exposeEvent(QExposeEvent*) {
  paintAll();
}

void SceneWindow::resizeEvent(QResizeEvent*) {
  if (presenter_)
    presenter_->resize(size());
  renderer_.setTargetSize(size());
  paintAll();
}

bool SceneWindow::event(QEvent* event) {
  if (event->type() == QEvent::PlatformSurface &&
      static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
          QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed)
    presenter_.reset();
  return QWindow::event(event);
}

bool SceneWindow::paint(const QRegion& region) {
  if (!isExposed() || region.isEmpty())
    return false;
  if (!presenter_)
    presenter_ = makeWindowPresenter(*this);
  presenter_->present(region, [&](QPainter& painter, const QRegion& part) {
    // A presenter may repaint parts of earlier frames, bars included.
    if (!renderer_.mapping().content().contains(part.boundingRect()))
      renderer_.renderBars(painter);
    renderer_.render(painter, presented_, part);
  });
  events_.windowFlushed();
  return true;
}

void SceneWindow::paintAll() {
  paint(QRegion(QRect(QPoint(0, 0), size())));
}

}  // namespace skyfare
