#pragma once

#include <ctime>

namespace skyfare {

// How a process ends that a host has asked to end with a signal: the signal's own action comes
// back at once, so a repeated signal ends it on the spot, and the same signal comes again after
// kUnloadGraceMs should the unload step hang. end() then ends the process by that signal, which
// is what hosts expect to see.
class SignalEnding {
 public:
  static constexpr long kUnloadGraceMs = 800;

  explicit SignalEnding(int signalNumber);
  ~SignalEnding();
  SignalEnding(const SignalEnding&) = delete;
  SignalEnding& operator=(const SignalEnding&) = delete;

  [[noreturn]] void end() const;

 private:
  int signalNumber_;
  timer_t graceTimer_{};
  bool timerArmed_ = false;
};

}  // namespace skyfare
