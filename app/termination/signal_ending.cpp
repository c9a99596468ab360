#include "app/termination/signal_ending.h"

#include <csignal>

#include <cstdlib>

namespace skyfare {

SignalEnding::SignalEnding(int signalNumber) : signalNumber_(signalNumber) {
  std::signal(signalNumber_, SIG_DFL);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signalNumber_);
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);

  sigevent event{};
  event.sigev_notify = SIGEV_SIGNAL;
  event.sigev_signo = signalNumber_;
  if (timer_create(CLOCK_MONOTONIC, &event, &graceTimer_) != 0)
    return;
  timerArmed_ = true;
  itimerspec grace{};
  grace.it_value.tv_sec = kUnloadGraceMs / 1000;
  grace.it_value.tv_nsec = (kUnloadGraceMs % 1000) * 1000000;
  timer_settime(graceTimer_, 0, &grace, nullptr);
}

SignalEnding::~SignalEnding() {
  if (timerArmed_)
    timer_delete(graceTimer_);
}

void SignalEnding::end() const {
  raise(signalNumber_);
  std::_Exit(128 + signalNumber_);  // only if the signal's action was not to end the process
}

}  // namespace skyfare
