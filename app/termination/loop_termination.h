#pragma once

#include <optional>

#include "app/termination/signal_ending.h"
#include "app/termination/termination_signals.h"
#include "app/termination/way_of_ending.h"

namespace skyfare {

// While it lives, a termination signal ends the event loop with exit code 0, so the caller's
// unload step runs; leave() then ends the process the way given.
class LoopTermination {
 public:
  explicit LoopTermination(WayOfEnding way);

  // The exit code to return from main; after a signal, with BySignal, the process dies here by
  // that signal instead.
  int leave(int exitCode) const;

 private:
  WayOfEnding way_;
  std::optional<SignalEnding> ending_;
  TerminationSignals signals_;
};

}  // namespace skyfare
