#include "app/termination_watch.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <optional>
#include <thread>

#include "app/termination_signals.h"

namespace skyfare {
namespace {

constexpr auto kWatchdog = std::chrono::seconds(5);

// Waits for the child to end; nullopt when it is still running after the watchdog.
std::optional<int> waitForExit(pid_t child) {
  const auto deadline = std::chrono::steady_clock::now() + kWatchdog;
  int status = 0;
  while (waitpid(child, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return status;
}

TEST(TerminationWatch, EachSignalEndsAStepStuckInASystemCall) {
  QTemporaryDir folder;
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    const std::string fifo = folder.filePath(QString::number(signal)).toStdString();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      blockTerminationSignals();
      const TerminationWatch watch;
      if (write(ready[1], "r", 1) != 1)
        _exit(4);
      // Opening a FIFO that nobody writes waits for ever.
      _exit(open(fifo.c_str(), O_RDONLY) >= 0 ? 3 : 5);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
    close(ready[1]);
    kill(child, signal);
    const std::optional<int> status = waitForExit(child);
    ASSERT_TRUE(status.has_value()) << "signal " << signal << " did not end the step";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << "signal " << signal;
  }
}

TEST(TerminationWatch, ASignalJustBeforeTheEndEndsTheProcessAtTheEnd) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    blockTerminationSignals();
    {
      const TerminationWatch watch;
      // Long before the watch's first look.
      raise(SIGTERM);
    }
    _exit(6);
  }
  const std::optional<int> status = waitForExit(child);
  ASSERT_TRUE(status.has_value());
  EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
}

TEST(TerminationWatch, LeavesTheTimerSignalAsItFoundIt) {
  struct sigaction before {};
  sigaction(SIGALRM, nullptr, &before);
  { const TerminationWatch watch; }
  struct sigaction after {};
  sigaction(SIGALRM, nullptr, &after);
  EXPECT_EQ(after.sa_handler, before.sa_handler);
}

}  // namespace
}  // namespace skyfare
