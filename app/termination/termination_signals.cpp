#include "app/termination/termination_signals.h"

#include <signal.h>
#include <sys/signalfd.h>

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace skyfare {

sigset_t terminationSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGHUP);
  return set;
}

void blockTerminationSignals() {
  const sigset_t set = terminationSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

TerminationSignals::TerminationSignals(std::function<void(int)> onSignal)
    : onSignal_(std::move(onSignal)) {
  const sigset_t set = terminationSignals();
  fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
  if (fd_ < 0) {
    // Nothing would ever read them: let the signals end the program the ordinary way.
    std::fprintf(
        stderr,
        "skyfare: cannot watch for termination signals (%s); they end the program at once\n",
        std::strerror(errno));
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    return;
  }
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    signalfd_siginfo info{};
    int signalNumber = 0;
    while (read(fd_, &info, sizeof info) == sizeof info)
      signalNumber = static_cast<int>(info.ssi_signo);
    if (signalNumber != 0)
      onSignal_(signalNumber);
  });
}

TerminationSignals::~TerminationSignals() {
  notifier_.reset();
  if (fd_ >= 0)
    close(fd_);
}

}  // namespace skyfare
