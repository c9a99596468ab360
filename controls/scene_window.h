#pragma once

#include <QBackingStore>
#include <QPointF>
#include <QRegion>
#include <QWindow>

#include "controls/display_list.h"
#include "controls/scene_renderer.h"

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
// resized.
class SceneWindow : public QWindow {
 public:
  // False when nothing was flushed: no damage, or the window is not on screen.
  bool present(const QRegion& sceneDamage);

 protected:
  SceneWindow(const DisplayList& presented, SceneWindowEvents& events, QSize initialSize);

  SceneWindowEvents& events() { return events_; }
  void exposeEvent(QExposeEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  bool paint(const QRegion& region, bool withBars);
  void paintAll();

  const DisplayList& presented_;
  SceneWindowEvents& events_;
  QBackingStore backingStore_;
  SceneRenderer renderer_;
};

}  // namespace skyfare
