#pragma once

#include <QObject>
#include <functional>

#include "core/controls/drawing_control.h"

namespace skyfare {

// Raises a drawing component's input events from the event loop after the handler that saw the
// input returns, so a sink may end the session from them. An event reaches the sink that
// `liveSink` gives when it is delivered, and is dropped when that is null (the display closed,
// or no sink) or when the queue is gone.
class QueuedInput {
 public:
  explicit QueuedInput(std::function<DrawingEvents*()> liveSink) : liveSink_(std::move(liveSink)) {}

  void raiseLater(void (DrawingEvents::*event)());

 private:
  std::function<DrawingEvents*()> liveSink_;
  QObject context_;
};

}  // namespace skyfare
