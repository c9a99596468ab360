#include "app/termination/leave_process.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <span>
#include <thread>

#include "sound/sdl_audio_device.h"
#include "tests/support/deaf_sound_server.h"

namespace skyfare {
namespace {

constexpr int kExitCode = 7;

class SilentSource final : public AudioSource {
  bool fill(std::span<std::int16_t> samples) override {
    std::fill(samples.begin(), samples.end(), std::int16_t{0});
    return false;
  }
};

// Where the child's ordinary exit leaves its mark; the libraries' teardown runs then too.
int exitMarkFd = -1;
void markOrdinaryExit() {
  const char mark = 'x';
  [[maybe_unused]] const auto written = write(exitMarkFd, &mark, 1);
}

struct Ending {
  int status = 0;
  bool ordinaryExit = false;
};

// Runs body, which ends as main does, in a child process and tells how the child ended.
Ending endingOfChild(void (*body)()) {
  int marks[2];
  EXPECT_EQ(pipe(marks), 0);
  const pid_t child = fork();
  if (child == 0) {
    close(marks[0]);
    exitMarkFd = marks[1];
    alarm(20);  // a watchdog: a child that hangs ends by SIGALRM and fails the test
    std::atexit(markOrdinaryExit);
    body();
    _exit(1);
  }
  close(marks[1]);
  Ending ending;
  char mark = 0;
  ending.ordinaryExit = read(marks[0], &mark, 1) == 1;
  close(marks[0]);
  waitpid(child, &ending.status, 0);
  return ending;
}

TEST(LeaveProcess, WhileAnOpeningHangsEndsWithTheCodeWithoutTheLibrariesTeardown) {
  const Ending ending = endingOfChild([] {
    const testing::DeafSoundServer server;
    SilentSource source;
    std::optional<SdlAudioDevice> device(std::in_place, source);
    while (server.accepted() == 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    device.reset();
    std::exit(leaveProcess(kExitCode));
  });
  ASSERT_TRUE(WIFEXITED(ending.status));
  EXPECT_EQ(WEXITSTATUS(ending.status), kExitCode);
  EXPECT_FALSE(ending.ordinaryExit);
}

TEST(LeaveProcess, GivesTheCodeBackForTheOrdinaryExitWhenNoOpeningIsLeft) {
  const Ending ending = endingOfChild([] {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    {
      SilentSource source;
      const SdlAudioDevice device(source);
      if (!device.isOpen(std::chrono::seconds(10)))
        _exit(2);
    }
    std::exit(leaveProcess(kExitCode));
  });
  ASSERT_TRUE(WIFEXITED(ending.status));
  EXPECT_EQ(WEXITSTATUS(ending.status), kExitCode);
  EXPECT_TRUE(ending.ordinaryExit);
}

}  // namespace
}  // namespace skyfare
