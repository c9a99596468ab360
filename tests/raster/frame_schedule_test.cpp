#include "raster/frame_schedule.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace skyfare {
namespace {

constexpr std::int64_t kMs = 1'000'000;
constexpr std::int64_t kPeriodNs = FrameSchedule::kNsPerSecond / FrameSchedule::kFramesPerSecond;
constexpr std::int64_t kSecondDeadlineNs = 33'333'333;

// Runs the schedule for a stretch of time with a timer that wakes it some offset away from
// the time it was asked for, in whole milliseconds as a real timer takes them.
struct Simulation {
  int frames = 0;
  int wakes = 0;
  std::int64_t shortestGapNs = INT64_MAX;
};

Simulation simulate(std::int64_t durationNs, std::int64_t timerOffsetNs) {
  FrameSchedule schedule;
  schedule.start(0);
  Simulation run;
  std::int64_t now = 0;
  std::int64_t lastFrame = -1;
  while (now < durationNs) {
    const FrameSchedule::Wake wake = schedule.wake(now);
    ++run.wakes;
    if (wake.frameDue) {
      ++run.frames;
      if (lastFrame >= 0)
        run.shortestGapNs = std::min(run.shortestGapNs, now - lastFrame);
      lastFrame = now;
    }
    const std::int64_t askedMs = (std::max<std::int64_t>(wake.waitNs, 0) + kMs - 1) / kMs;
    now += std::max<std::int64_t>(askedMs * kMs + timerOffsetNs, 1);
  }
  return run;
}

TEST(FrameScheduleTest, GivesSixtyFramesASecondWhateverTheTimerRounding) {
  struct Row {
    const char* what;
    std::int64_t timerOffsetNs;
  };
  for (const Row& row :
       {Row{"exact timer", 0}, Row{"timer late by 0.3 ms", 300'000},
        Row{"timer late by 0.9 ms", 900'000}, Row{"timer early by 0.5 ms", -500'000}}) {
    const Simulation run = simulate(10 * FrameSchedule::kNsPerSecond, row.timerOffsetNs);
    EXPECT_NEAR(run.frames, 600, 1) << row.what;
    EXPECT_GT(run.shortestGapNs, 14 * kMs) << row.what;
  }
}

TEST(FrameScheduleTest, FirstFrameIsDueAtOnce) {
  FrameSchedule schedule;
  schedule.start(5 * kMs);
  const FrameSchedule::Wake wake = schedule.wake(5 * kMs);
  EXPECT_TRUE(wake.frameDue);
  EXPECT_EQ(wake.waitNs, kPeriodNs);
}

TEST(FrameScheduleTest, WakingWellBeforeTheDeadlineGivesNoFrame) {
  FrameSchedule schedule;
  schedule.start(0);
  ASSERT_TRUE(schedule.wake(0).frameDue);
  const FrameSchedule::Wake early = schedule.wake(10 * kMs);
  EXPECT_FALSE(early.frameDue);
  EXPECT_EQ(early.waitNs, kPeriodNs - 10 * kMs);
  EXPECT_TRUE(schedule.wake(kPeriodNs).frameDue);
}

TEST(FrameScheduleTest, LateWakeGivesOneFrameAndStartsAfreshInsteadOfCatchingUp) {
  struct Row {
    std::int64_t lateNs;
    std::int64_t expectedWaitNs;
  };
  // Less than a frame late keeps the old deadlines; more starts a new count from now.
  for (const Row& row :
       {Row{5 * kMs, kSecondDeadlineNs - (kPeriodNs + 5 * kMs)}, Row{kPeriodNs + 1, kPeriodNs},
        Row{250 * kMs, kPeriodNs}, Row{3600 * FrameSchedule::kNsPerSecond, kPeriodNs}}) {
    FrameSchedule schedule;
    schedule.start(0);
    ASSERT_TRUE(schedule.wake(0).frameDue);
    const std::int64_t now = kPeriodNs + row.lateNs;
    const FrameSchedule::Wake late = schedule.wake(now);
    EXPECT_TRUE(late.frameDue) << row.lateNs;
    EXPECT_EQ(late.waitNs, row.expectedWaitNs) << row.lateNs;
    EXPECT_FALSE(schedule.wake(now).frameDue) << row.lateNs;
  }
}

}  // namespace
}  // namespace skyfare
