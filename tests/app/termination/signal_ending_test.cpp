#include "app/termination/signal_ending.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace skyfare {
namespace {

// Runs body in a child process with the termination signals blocked, as the program runs, and
// returns how the child ended.
int endedChild(void (*body)()) {
  const pid_t child = fork();
  if (child == 0) {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    alarm(10);  // a watchdog: a child that hangs ends by SIGALRM and fails the test
    body();
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

TEST(SignalEnding, EndsTheProcessByTheSignalThatAskedForIt) {
  const int status = endedChild([] { SignalEnding(SIGINT).end(); });
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGINT);
}

TEST(SignalEnding, AnUnloadThatHangsIsCutShortByTheSameSignal) {
  const int status = endedChild([] {
    const SignalEnding ending(SIGTERM);
    for (;;) pause();
  });
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGTERM);
}

TEST(SignalEnding, ARepeatedSignalEndsTheProcessAtOnce) {
  const int status = endedChild([] {
    const SignalEnding ending(SIGTERM);
    kill(getpid(), SIGTERM);
    for (;;) pause();
  });
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGTERM);
}

}  // namespace
}  // namespace skyfare
