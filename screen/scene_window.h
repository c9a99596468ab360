#pragma once

#include <QPointF>
#include <QRegion>
#include <QWindow>
#include <memory>

#include "drawing/display_list.h"
#include "drawing/scene_renderer.h"
#include "screen/window_presenter.h"
#include "screen/xrender_composer.h"

namespace skyfare {

// What a scene window tells the component that owns it.
class SceneWindowEvents {
 public:
  virtual ~SceneWindowEvents() = default;
  virtual void keyPressed() = 0;
  virtual void mousePressed() = 0;
  virtual void mouseMoved(QPointF globalPosition) = 0;
  virtual void windowFlushed() = 0;
};

// A window that shows the presented display list fitted to its size with black bars. It paints
// and flushes only the damaged part of each frame, and all of itself when it is exposed or
// resized. The window's picture is kept by the display server; on X11 the server composes it
// from the pictures of the ops (XRenderComposer), elsewhere the window holds only the parts it
// is putting there (see WindowPresenter).
class SceneWindow : public QWindow {
 public:
  const SceneMapping& mapping() const { return renderer_.mapping(); }

  // False when nothing was flushed: no damage, or the window is not on screen.
  bool present(const QRegion& sceneDamage);

 protected:
  // Windows given the same store of scaled pictures share the pictures of a common scale.
  SceneWindow(const DisplayList& presented, SceneWindowEvents& events, QSize initialSize,
              std::shared_ptr<ScaledPictures> scaledPictures);

  SceneWindowEvents& events() { return events_; }
  void exposeEvent(QExposeEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;

 private:
  bool paint(const QRegion& region);
  void paintAll();

  const DisplayList& presented_;
  SceneWindowEvents& events_;
  std::shared_ptr<ScaledPictures> scaledPictures_;
  SceneRenderer renderer_;
  // Made when the window is first shown, and dropped with its platform window: the server's
  // composer where it can compose for us, else a presenter.
  std::unique_ptr<XRenderComposer> composer_;
  std::unique_ptr<WindowPresenter> presenter_;
};

}  // namespace skyfare
