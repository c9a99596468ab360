#pragma once

#include <signal.h>
#include <time.h>

#include "app/termination/way_of_ending.h"

namespace skyfare {

// While it lives, a termination signal ends the process the way given within kTerminationPollMs
// even though no event loop runs to take it, as during the load step: nothing slow there can
// hold back the end. One that comes too late for the last look ends the process when the watch
// ends. The signals stay blocked and queued as before; a timer looks at what is pending. On its
// end the timer and its signal's handling are put back as they were.
class TerminationWatch {
 public:
  explicit TerminationWatch(WayOfEnding way);
  ~TerminationWatch();
  TerminationWatch(const TerminationWatch&) = delete;
  TerminationWatch& operator=(const TerminationWatch&) = delete;

 private:
  WayOfEnding way_;
  struct sigaction previous_ {};
  timer_t timer_{};
  bool armed_ = false;
};

}  // namespace skyfare
