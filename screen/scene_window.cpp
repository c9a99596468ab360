#include "screen/scene_window.h"

#include <QPlatformSurfaceEvent>

#include "screen/presenter_choice.h"

namespace skyfare {

SceneWindow::SceneWindow(const DisplayList& presented, SceneWindowEvents& events, QSize initialSize,
                         std::shared_ptr<ScaledPictures> scaledPictures)
    : presented_(presented),
      events_(events),
      scaledPictures_(scaledPictures ? std::move(scaledPictures)
                                     : std::make_shared<ScaledPictures>()),
      renderer_(initialSize, scaledPictures_) {
  setSurfaceType(QSurface::RasterSurface);
}

bool SceneWindow::present(const QRegion& sceneDamage) {
  return paint(renderer_.mapping().toTarget(sceneDamage));
}

void SceneWindow::exposeEvent(QExposeEvent*) {
  paintAll();
}

void SceneWindow::resizeEvent(QResizeEvent*) {
  if (composer_)
    composer_->resize(size());
  if (presenter_)
    presenter_->resize(size());
  renderer_.setTargetSize(size());
  paintAll();
}

bool SceneWindow::event(QEvent* event) {
  if (event->type() == QEvent::PlatformSurface &&
      static_cast<QPlatformSurfaceEvent*>(event)->surfaceEventType() ==
          QPlatformSurfaceEvent::SurfaceAboutToBeDestroyed) {
    composer_.reset();
    presenter_.reset();
  }
  return QWindow::event(event);
}

bool SceneWindow::paint(const QRegion& region) {
  if (!isExposed() || region.isEmpty())
    return false;
  if (!composer_ && !presenter_) {
    composer_ = XRenderComposer::create(*this, scaledPictures_);
    if (!composer_)
      presenter_ = makeWindowPresenter(*this);
  }
  if (composer_) {
    composer_->present(region, presented_, renderer_);
    events_.windowFlushed();
    return true;
  }
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
