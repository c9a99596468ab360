#include "app/termination/loop_termination.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>

namespace skyfare {
namespace {

constexpr int kUnloadRanExitCode = 7;
constexpr int kLoopKeptRunningExitCode = 9;

// Runs an event loop in a child, as an entry point does, sends it the signal once the loop turns,
// and returns how the child ended. The child returns kUnloadRanExitCode when the loop ended and
// what follows it ran.
int endedLoop(WayOfEnding way, int signal) {
  const pid_t child = fork();
  if (child == 0) {
    alarm(10);  // a watchdog: a child that hangs ends by SIGALRM and fails the test
    blockTerminationSignals();
    int argc = 1;
    char name[] = "loop";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const LoopTermination termination(way);
    QMetaObject::invokeMethod(
        &app, [signal] { kill(getpid(), signal); }, Qt::QueuedConnection);
    if (QCoreApplication::exec() != 0)
      _exit(kLoopKeptRunningExitCode);
    _exit(termination.leave(kUnloadRanExitCode));
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

TEST(LoopTermination, ASignalEndsTheLoopAndThenTheProcessTheWayGiven) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    const int asSaver = endedLoop(WayOfEnding::ExitZero, signal);
    EXPECT_TRUE(WIFEXITED(asSaver) && WEXITSTATUS(asSaver) == kUnloadRanExitCode)
        << "signal " << signal;
    const int asHack = endedLoop(WayOfEnding::BySignal, signal);
    EXPECT_TRUE(WIFSIGNALED(asHack) && WTERMSIG(asHack) == signal) << "signal " << signal;
  }
}

}  // namespace
}  // namespace skyfare
