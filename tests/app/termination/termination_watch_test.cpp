#include "app/termination/termination_watch.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <optional>
#include <thread>

#include "app/termination/termination_signals.h"

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

// Whether the child ended the way given, by that signal.
bool endedAs(WayOfEnding way, int signal, int status) {
  if (way == WayOfEnding::BySignal)
    return WIFSIGNALED(status) && WTERMSIG(status) == signal;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(TerminationWatch, EachSignalEndsAStepStuckInASystemCallTheWayGiven) {
  QTemporaryDir folder;
  for (const WayOfEnding way : {WayOfEnding::ExitZero, WayOfEnding::BySignal}) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
      const int wayNumber = static_cast<int>(way);
      const std::string fifo =
          folder.filePath(QStringLiteral("%1-%2").arg(wayNumber).arg(signal)).toStdString();
      ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
      int ready[2];
      ASSERT_EQ(pipe(ready), 0);
      const pid_t child = fork();
      ASSERT_GE(child, 0);
      if (child == 0) {
        blockTerminationSignals();
        const TerminationWatch watch(way);
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
      EXPECT_TRUE(endedAs(way, signal, *status)) << "signal " << signal << ", way " << wayNumber;
    }
  }
}

TEST(TerminationWatch, ASignalJustBeforeTheEndEndsTheProcessAtTheEnd) {
  for (const WayOfEnding way : {WayOfEnding::ExitZero, WayOfEnding::BySignal}) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      blockTerminationSignals();
      {
        const TerminationWatch watch(way);
        // Long before the watch's first look.
        raise(SIGTERM);
      }
      _exit(6);
    }
    const std::optional<int> status = waitForExit(child);
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(endedAs(way, SIGTERM, *status)) << "way " << static_cast<int>(way);
  }
}

TEST(TerminationWatch, LeavesTheTimerSignalAsItFoundIt) {
  struct sigaction before {};
  sigaction(SIGALRM, nullptr, &before);
  { const TerminationWatch watch(WayOfEnding::BySignal); }
  struct sigaction after {};
  sigaction(SIGALRM, nullptr, &after);
  EXPECT_EQ(after.sa_handler, before.sa_handler);
}

}  // namespace
}  // namespace skyfare
