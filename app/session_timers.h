#pragma once

#include <QTimer>

namespace skyfare {

class Form1;

// The saver window's three one-second timers, tmrPlane, tmrPause and tmrSound, running from
// construction like the window's own.
class SessionTimers {
 public:
  explicit SessionTimers(Form1& form);

 private:
  QTimer tmrPlane_;
  QTimer tmrPause_;
  QTimer tmrSound_;
};

}  // namespace skyfare
