#include "app/termination_watch.h"

#include <unistd.h>

#include "app/termination_signals.h"

namespace skyfare {
namespace {

constexpr long kTerminationPollMs = 100;
constexpr long kNanosecondsPerMs = 1000000;

// Runs on whichever thread the timer's signal reaches; uses only async-signal-safe calls.
void endIfTerminationPending(int) {
  sigset_t pending;
  if (sigpending(&pending) != 0)
    return;
  const sigset_t ending = terminationSignals();
  for (int signal = 1; signal < NSIG; ++signal) {
    if (sigismember(&ending, signal) == 1 && sigismember(&pending, signal) == 1)
      _exit(0);
  }
}

}  // namespace

TerminationWatch::TerminationWatch() {
  struct sigaction action {};
  action.sa_handler = endIfTerminationPending;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  if (sigaction(SIGALRM, &action, &previous_) != 0)
    return;
  sigevent event{};
  event.sigev_notify = SIGEV_SIGNAL;
  event.sigev_signo = SIGALRM;
  if (timer_create(CLOCK_MONOTONIC, &event, &timer_) != 0) {
    sigaction(SIGALRM, &previous_, nullptr);
    return;
  }
  armed_ = true;
  itimerspec period{};
  period.it_interval.tv_nsec = kTerminationPollMs * kNanosecondsPerMs;
  period.it_value = period.it_interval;
  timer_settime(timer_, 0, &period, nullptr);
}

TerminationWatch::~TerminationWatch() {
  // A signal that came since the last look would otherwise be left to the event loop, which the
  // first frames may keep from turning for a while.
  endIfTerminationPending(0);
  if (!armed_)
    return;
  timer_delete(timer_);
  // Ignoring it first drops a tick that is still pending, which the old handling might not want.
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGALRM, &ignore, nullptr);
  sigaction(SIGALRM, &previous_, nullptr);
}

}  // namespace skyfare
