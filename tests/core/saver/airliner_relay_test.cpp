#include "core/saver/airliner_relay.h"

#include <gtest/gtest.h>

#include "tests/support/session_fixture.h"

namespace skyfare {
namespace {

using testing::SessionFixture;

std::vector<int> drawnAirliners(const SessionFixture& s) {
  std::vector<int> drawn;
  for (int k = 1; k <= kAirlinerCount; ++k) {
    if (s.drawing.drawOf(s.airliner(k)))
      drawn.push_back(k);
  }
  return drawn;
}

TEST(AirlinerRelay, AtStartOnlyAirlinerOneFliesAndTakesItsFirstStepAtOnce) {
  SessionFixture s;
  s.load();
  s.frame();
  EXPECT_EQ(drawnAirliners(s), std::vector<int>{1});
  EXPECT_EQ(s.drawing.drawOf(s.airliner(1))->x, -321) << "drawn before it moves";
  EXPECT_EQ(s.airlinerSprite(1).x, -320);
  EXPECT_EQ(s.airlinerSprite(1).y, 181) << "the first flight begins in the drift phase";
}

TEST(AirlinerRelay, AirlinerTwoAppearsInTheFrameInWhichAirlinerOneHandsOverPastX700) {
  SessionFixture s;
  s.load();
  long frames = 0;
  while (!s.form->planes()[1].hasTurn && frames < 100000) {
    EXPECT_EQ(drawnAirliners(s).size(), frames == 0 ? 0u : 1u);
    s.frame();
    ++frames;
  }
  EXPECT_GT(s.form->planes()[0].lastX, 700);
  EXPECT_LE(s.form->planes()[0].lastX, 710) << "handed over in the first level frame past 700";
  EXPECT_EQ(drawnAirliners(s), (std::vector<int>{1, 2}));
  EXPECT_EQ(s.drawing.drawOf(s.airliner(2))->x, 805);
  EXPECT_EQ(s.drawing.drawOf(s.airliner(2))->y, 200);
}

TEST(AirlinerRelay, ParkingHappensOnlyInALevelFrame) {
  SessionFixture s;
  s.load();
  // Put airliner 15 (15 drift frames to each level frame) past its park line in a drift phase.
  s.frames(2);
  PlaneStates& planes = const_cast<PlaneStates&>(s.form->planes());
  planes[14].hasTurn = true;
  s.drawing.sprites[s.airliner(15)].x = -330;
  int framesUntilParked = 0;
  while (!s.form->planes()[14].parked && framesUntilParked < 100) {
    s.frame();
    ++framesUntilParked;
  }
  EXPECT_LE(framesUntilParked, 16);
  EXPECT_GT(framesUntilParked, 1);
  EXPECT_EQ(s.airlinerSprite(15).x, 805);
  EXPECT_EQ(s.airlinerSprite(15).y, s.form->planes()[14].nextHeight);
  EXPECT_FALSE(s.form->planes()[14].hasTurn);
  EXPECT_TRUE(s.form->planes()[0].hasTurn) << "15 passing X 100 gives the sky back to 1";
}

TEST(AirlinerRelay, AirlinerSevenParksAndHandsOverInTheSameFrame) {
  SessionFixture s;
  s.load();
  PlaneStates& planes = const_cast<PlaneStates&>(s.form->planes());
  planes[0].hasTurn = false;
  planes[6].hasTurn = true;
  planes[6].phase.levelPhase = true;
  s.drawing.sprites[s.airliner(7)].x = 801;
  s.frame();
  EXPECT_TRUE(s.form->planes()[6].parked);
  EXPECT_TRUE(s.form->planes()[7].hasTurn);
  EXPECT_EQ(s.airlinerSprite(7).x, -343);
}

TEST(AirlinerRelay, TheRingComesBackToAirlinerOneAtItsStart) {
  SessionFixture s;
  s.load();
  // Run until airliner 1 has parked and been handed the turn again.
  long frames = 0;
  while (!s.form->planes()[0].parked && frames < 1000000) s.frame(), ++frames;
  ASSERT_TRUE(s.form->planes()[0].parked);
  EXPECT_EQ(s.airlinerSprite(1).x, -321);
  EXPECT_EQ(s.airlinerSprite(1).y, 180);
  while (!s.form->planes()[0].hasTurn && frames < 1000000) s.frame(), ++frames;
  ASSERT_TRUE(s.form->planes()[0].hasTurn);
  EXPECT_FALSE(s.form->planes()[0].parked);
  s.frame();
  EXPECT_EQ(s.drawing.drawOf(s.airliner(1))->x, -321);
  EXPECT_EQ(s.drawing.drawOf(s.airliner(1))->y, 180);
}

TEST(AirlinerRelay, ASlowSpeedStillAlternatesPhasesByFrameCount) {
  SessionFixture s;
  s.load({{"Startup/Speed", "100"}});
  std::vector<int> xs;
  for (int i = 0; i < 12; ++i) {
    s.frame();
    xs.push_back(s.airlinerSprite(1).x);
  }
  // One step every 100 ms at 60 frames a second: about every sixth frame.
  EXPECT_EQ(xs.front(), -320);
  EXPECT_EQ(xs.back(), -319);
  EXPECT_TRUE(s.form->planes()[0].phase.levelPhase) << "5 drift frames done, level phase under way";
}

}  // namespace
}  // namespace skyfare
