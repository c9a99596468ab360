#pragma once

#include <QTemporaryDir>
#include <array>

#include "core/controls/drawing_control.h"

namespace skyfare::bench {

// The scene the figures are about: an 800 × 600 picture background, three 330 × 100 aircraft
// with soft transparent edges, the message line and the clock, composed in the saver's order.
class BenchScene {
 public:
  explicit BenchScene(DrawingControl& drawing);

  // One frame, ending with Flip.
  void compose();
  // Moves every aircraft one pixel, turning round at the edges.
  void moveAircraft();

 private:
  DrawingControl& drawing_;
  QTemporaryDir folder_;
  SpriteHandle background_ = 0;
  std::array<SpriteHandle, 3> aircraft_ = {};
  int step_ = 1;
  int travelled_ = 0;
};

}  // namespace skyfare::bench
