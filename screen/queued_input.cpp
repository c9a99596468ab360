#include "screen/queued_input.h"

namespace skyfare {

void QueuedInput::raiseLater(void (DrawingEvents::*event)()) {
  QMetaObject::invokeMethod(
      &context_,
      [this, event] {
        if (DrawingEvents* sink = liveSink_())
          (sink->*event)();
      },
      Qt::QueuedConnection);
}

}  // namespace skyfare
