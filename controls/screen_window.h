#pragma once

#include <QBackingStore>
#include <QPointF>
#include <QRegion>
#include <QWindow>
#include <memory>

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
// itself when it is exposed or resized. The window's picture is kept by the display server;
// the backing store holds a stretch of rows only, filled with the damaged rows of one frame
// after another and flushed into place, so its memory is a fraction of the screen's.
class ScreenWindow final : public QWindow {
 public:
  // Windows given the same store of scaled pictures share the pictures of a common scale.
  ScreenWindow(QScreen* screen, const DisplayList& presented, ScreenWindowEvents& events,
               std::shared_ptr<ScaledPictures> scaledPictures = {});

  const SceneMapping& mapping() const { return renderer_.mapping(); }

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
  // Paints the damaged rows from top on into the store's free rows; the rows done.
  int paintRows(const QRegion& region, int top, bool withBars);
  void paintAll();
  void resizeStore();

  const DisplayList& presented_;
  ScreenWindowEvents& events_;
  QBackingStore backingStore_;
  int storeRows_ = 0;
  int nextStoreRow_ = 0;  // rows above it were flushed since the store was last filled
  SceneRenderer renderer_;
};

}  // namespace skyfare
