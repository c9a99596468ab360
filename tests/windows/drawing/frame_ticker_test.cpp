#include "windows/drawing/frame_ticker.h"

#include <gtest/gtest.h>

namespace skyfare {
namespace {

constexpr std::int64_t kMs = 1'000'000;

// A message loop on a simulated clock: it waits as long as told, or less when messages come.
struct SimulatedLoop {
  std::int64_t now = 0;
  FrameTicker ticker{[this] { return now; }};
  int frames = 0;
  int mostFramesInOneWake = 0;

  void run(std::int64_t untilNs, std::int64_t messageEveryNs) {
    while (now < untilNs) {
      int framesThisWake = 0;
      FrameTicker::Tick tick = ticker.tick();
      // The loop ticks again after a frame, before it waits.
      while (tick.frameDue) {
        ++frames;
        ++framesThisWake;
        tick = ticker.tick();
      }
      mostFramesInOneWake = std::max(mostFramesInOneWake, framesThisWake);
      now += std::min<std::int64_t>(std::max<std::int64_t>(tick.waitMs * kMs, 1), messageEveryNs);
    }
  }
};

TEST(FrameTickerTest, SixtyFramesASecondWhetherOrNotMessagesWakeTheLoop) {
  for (const std::int64_t messageEveryNs : {INT64_MAX, 3 * kMs, 300'000LL}) {
    SimulatedLoop loop;
    loop.ticker.start();
    loop.run(10'000 * kMs, messageEveryNs);
    EXPECT_NEAR(loop.frames, 600, 1) << messageEveryNs;
    EXPECT_EQ(loop.mostFramesInOneWake, 1) << messageEveryNs;
  }
}

TEST(FrameTickerTest, AStallGivesOneFrameAndNoBurst) {
  SimulatedLoop loop;
  loop.ticker.start();
  loop.run(1000 * kMs, INT64_MAX);
  const int beforeStall = loop.frames;
  loop.now += 700 * kMs;  // the machine was busy elsewhere
  loop.run(loop.now + 1, INT64_MAX);
  EXPECT_EQ(loop.frames, beforeStall + 1);
  EXPECT_EQ(loop.mostFramesInOneWake, 1);
  loop.run(loop.now + 1000 * kMs, INT64_MAX);
  EXPECT_NEAR(loop.frames, beforeStall + 61, 1);
}

// What the loop asks after a frame: the wait to the next deadline, which takes no frame away.
TEST(FrameTickerTest, TheWaitAfterAFrameEndsAtTheNextDeadlineAndTakesNoFrame) {
  SimulatedLoop loop;
  loop.ticker.start();
  ASSERT_TRUE(loop.ticker.tick().frameDue);
  loop.now += 5 * kMs;  // the frame took 5 ms
  EXPECT_EQ(loop.ticker.waitMs(), 12u);
  EXPECT_EQ(loop.ticker.waitMs(), 12u);
  loop.now += 12 * kMs;
  EXPECT_EQ(loop.ticker.waitMs(), 0u);
  EXPECT_TRUE(loop.ticker.tick().frameDue);
  loop.now += 40 * kMs;  // a frame that overran its deadline
  EXPECT_EQ(loop.ticker.waitMs(), 0u);
  EXPECT_TRUE(loop.ticker.tick().frameDue);
}

TEST(FrameTickerTest, WaitsAreRoundedUpToWholeMilliseconds) {
  SimulatedLoop loop;
  loop.ticker.start();
  EXPECT_TRUE(loop.ticker.tick().frameDue);
  const FrameTicker::Tick next = loop.ticker.tick();
  EXPECT_FALSE(next.frameDue);
  EXPECT_EQ(next.waitMs, 17u);  // 16.67 ms away
}

}  // namespace
}  // namespace skyfare
