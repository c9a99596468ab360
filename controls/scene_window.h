#pragma once

#include <QBackingStore>
#include <QPointF>
#include <QRegion>
#include <QWindow>
#include <memory>

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
// resized. The window's picture is kept by the display server; the backing store holds a
// stretch of rows only, filled with the damaged rows of one frame after another and flushed
// into place, so its memory is a fraction of the window's.
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

 private:
  bool paint(const QRegion& region, bool withBars);
  // Paints the damaged rows from top on into the store's free rows; the rows done.
  int paintRows(const QRegion& region, int top, bool withBars);
  void paintAll();
  void resizeStore(QSize windowSize);

  const DisplayList& presented_;
  SceneWindowEvents& events_;
  QBackingStore backingStore_;
  int storeRows_ = 0;
  int nextStoreRow_ = 0;  // rows above it were flushed since the store was last filled
  SceneRenderer renderer_;
};

}  // namespace skyfare
