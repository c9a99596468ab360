#include "app/termination/termination_watch.h"

#include <unistd.h>

#include "app/termination/termination_signals.h"

namespace skyfare {
namespace {

constexpr long kTerminationPollMs = 100;
constexpr long kNanosecondsPerMs = 1000000;

// Runs on whichever thread the timer's signal reaches; uses only async-signal-safe calls.
void endIfTerminationPending(WayOfEnding way) {
  sigset_t pending;
  if (sigpending(&pending) != 0)
    return;
  const sigset_t ending = terminationSignals();
  for (int signal = 1; signal < NSIG; ++signal) {
    if (sigismember(&ending, signal) != 1 || sigismember(&pending, signal) != 1)
      continue;
    if (way == WayOfEnding::BySignal) {
      struct sigaction byDefault {};
      byDefault.sa_handler = SIG_DFL;
      sigemptyset(&byDefault.sa_mask);
      sigaction(signal, &byDefault, nullptr);
      sigset_t only;
      sigemptyset(&only);
      sigaddset(&only, signal);
      // The pending signal is delivered before this returns, and ends the process.
      sigprocmask(SIG_UNBLOCK, &only, nullptr);
      _exit(128 + signal);
    }
    _exit(0);
  }
}

// The timer carries the way of ending in its value, so the handler needs no state of its own.
void onTimer(int, siginfo_t* info, void*) {
  endIfTerminationPending(static_cast<WayOfEnding>(info->si_value.sival_int));
}

}  // namespace

TerminationWatch::TerminationWatch(WayOfEnding way) : way_(way) {
  struct sigaction action {};
  action.sa_sigaction = onTimer;
  action.sa_flags = SA_RESTART | SA_SIGINFO;
  sigemptyset(&action.sa_mask);
  if (sigaction(SIGALRM, &action, &previous_) != 0)
    return;
  sigevent event{};
  event.sigev_notify = SIGEV_SIGNAL;
  event.sigev_signo = SIGALRM;
  event.sigev_value.sival_int = static_cast<int>(way_);
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
  endIfTerminationPending(way_);
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
