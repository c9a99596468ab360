#include "app/termination/loop_termination.h"

#include <QCoreApplication>

namespace skyfare {

LoopTermination::LoopTermination(WayOfEnding way)
    : way_(way), signals_([this](int signalNumber) {
        if (way_ == WayOfEnding::BySignal)
          ending_.emplace(signalNumber);
        QCoreApplication::exit(0);
      }) {}

int LoopTermination::leave(int exitCode) const {
  if (ending_)
    ending_->end();
  return exitCode;
}

}  // namespace skyfare
