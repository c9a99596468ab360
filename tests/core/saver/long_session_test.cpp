// Whole sessions over the recording fakes: a simulated day, the tick wrap, and two sessions
// side by side.
#include <gtest/gtest.h>

#include <set>

#include "tests/support/session_fixture.h"

namespace skyfare {
namespace {

using testing::SessionFixture;

TEST(LongSession, ADayOfFramesKeepsTheRelayAndTheJetGoingAcrossTheTickWrap) {
  SessionFixture s;
  s.host.tick = 0xFFFFFFFFu - 60u * 60 * 1000;  // the tick count wraps an hour in
  s.load({{"Startup/SecDelay", "30"}});
  const long kFrames = 5'000'000;  // about 23 hours at 60 frames a second
  std::array<long, kAirlinerCount> lastFlown{};
  long lastJetPass = 0;
  long longestJetGap = 0;
  long longestAirlinerGap = 0;
  bool jetWasWaiting = false;
  std::set<int> heights;
  for (long f = 1; f <= kFrames; ++f) {
    s.frame();
    if (f % 4096 == 0) {  // the fakes' call logs would grow without bound
      s.drawing.calls.clear();
      s.sound.calls.clear();
    }
    int flying = 0;
    for (int k = 0; k < kAirlinerCount; ++k) {
      const PlaneState& plane = s.form->planes()[k];
      if (plane.hasTurn) {
        ++flying;
        longestAirlinerGap = std::max(longestAirlinerGap, f - lastFlown[k]);
        lastFlown[k] = f;
        heights.insert(plane.nextHeight);
      }
    }
    ASSERT_GE(flying, 1) << "frame " << f;
    ASSERT_LE(flying, 3) << "frame " << f;
    const bool waiting = s.form->jet().waiting;
    if (jetWasWaiting && !waiting) {
      if (lastJetPass)
        longestJetGap = std::max(longestJetGap, f - lastJetPass);
      lastJetPass = f;
    }
    jetWasWaiting = waiting;
  }
  // A full ring takes a few minutes; no airliner waits more than two.
  EXPECT_LT(longestAirlinerGap, 60L * 60 * 10);
  // A pass takes about 9 s, the pause 29 to 30 s.
  EXPECT_GT(lastJetPass, kFrames - 60 * 60);
  EXPECT_LT(longestJetGap, 60 * 45);
  EXPECT_GT(heights.size(), 50u) << "heights come from the random sequence";
  for (int k = 1; k <= kAirlinerCount; ++k) {
    const auto& sprite = s.airlinerSprite(k);
    EXPECT_GT(sprite.x, -400) << k;
    EXPECT_LT(sprite.x, 900) << k;
    EXPECT_GT(sprite.y, -1000) << k;
    EXPECT_LT(sprite.y, 1600) << k;
  }
}

TEST(LongSession, TwoSessionsInterleavedGiveTheFramesEachGivesAlone) {
  SessionFixture alone;
  alone.load();
  std::vector<std::vector<testing::RecordingDrawing::Draw>> aloneFrames;
  for (int i = 0; i < 5000; ++i) {
    alone.frame();
    aloneFrames.push_back(alone.drawing.lastFrame);
  }
  SessionFixture first;
  SessionFixture second;
  first.load();
  second.load();
  for (int i = 0; i < 5000; ++i) {
    first.frame();
    second.frame();
    second.frame();  // the second runs ahead; neither may disturb the other
    ASSERT_EQ(first.drawing.lastFrame.size(), aloneFrames[i].size()) << i;
    for (std::size_t d = 0; d < aloneFrames[i].size(); ++d) {
      ASSERT_EQ(first.drawing.lastFrame[d].x, aloneFrames[i][d].x) << i;
      ASSERT_EQ(first.drawing.lastFrame[d].y, aloneFrames[i][d].y) << i;
    }
  }
}

}  // namespace
}  // namespace skyfare
