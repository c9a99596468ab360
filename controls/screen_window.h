#pragma once

#include <QBackingStore>
#include <QPointF>
#include <QRegion>
#include <QWindow>

#include "controls/display_list.h"
#include "controls/scene_renderer.h"

class QScreen;

namespace skyfare {

// What a screen window tells the component that owns it.
class ScreenWindowEvents {
 public:
  virtual ~ScreenWindowEvents() = default;
  virtual void keyPressed() = 0;
  virtual void mousePressed() = 0;
  virtual void mouseMoved(QPointF globalPosition) = 0;
  virtual void windowFlushed() = 0;
};

// A frameless full-screen window that shows the presented display list on one screen, fitted
// with black bars. It paints and flushes only the damaged part of each frame, and all of
// itself when it is exposed or resized.
class ScreenWindow final : public QWindow {
 public:
  ScreenWindow(QScreen* screen, const DisplayList& presented, ScreenWindowEvents& events);

  // False when nothing was flushed: no damage, or the window is not on screen.
  bool present(const QRegion& sceneDamage);

 protected:
  void exposeEvent(QExposeEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  bool paint(const QRegion& region, bool withBars);
  void paintAll();

  const DisplayList& presented_;
  ScreenWindowEvents& events_;
  QBackingStore backingStore_;
  SceneRenderer renderer_;
};

}  // namespace skyfare
