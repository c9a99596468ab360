#pragma once

#include <signal.h>
#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace skyfare {

// The signals that end the program: SIGTERM, SIGINT and SIGHUP.
sigset_t terminationSignals();

// Blocks them for the whole process; call before any thread starts, so every
// thread inherits the mask and the signals wait for the event loop.
void blockTerminationSignals();

// Turns them into a call on the event loop, through a signal file descriptor. The call gets
// the signal's number.
class TerminationSignals final : public QObject {
 public:
  explicit TerminationSignals(std::function<void(int)> onSignal);
  ~TerminationSignals() override;

 private:
  int fd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::function<void(int)> onSignal_;
};

}  // namespace skyfare
