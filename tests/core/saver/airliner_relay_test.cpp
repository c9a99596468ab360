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

// The relay's steps over the session's scene and fakes, one frame's time apart.
struct HandFlownRelay {
  explicit HandFlownRelay(SessionFixture& s)
      : s(s), flight{s.drawing, s.form->scene(), s.form->settings(), s.host, s.random} {}
  void step(int airliner) {
    s.host.advanceMs(17);
    StepPlane(flight, planes, airliner);
  }

  SessionFixture& s;
  FlightContext flight;
  PlaneStates planes{};  // nobody has the turn
};

TEST(AirlinerRelay, ParkingHappensOnlyInALevelFrame) {
  SessionFixture s;
  s.load();
  HandFlownRelay relay(s);
  // Airliner 15 flies 15 drift frames to each level frame; it starts past its park line.
  relay.planes[14].hasTurn = true;
  relay.planes[14].nextHeight = 123;
  s.drawing.sprites[s.airliner(15)].x = -330;
  for (int frame = 1; frame <= 15; ++frame) {
    relay.step(15);
    ASSERT_FALSE(relay.planes[14].parked) << "drift frame " << frame;
  }
  relay.step(15);
  EXPECT_TRUE(relay.planes[14].parked);
  EXPECT_FALSE(relay.planes[14].hasTurn);
  EXPECT_EQ(s.airlinerSprite(15).x, 805);
  EXPECT_EQ(s.airlinerSprite(15).y, 123);
  EXPECT_TRUE(relay.planes[0].hasTurn) << "15 passing X 100 gives the sky back to 1";
}

TEST(AirlinerRelay, AirlinerSevenParksAndHandsOverInTheSameFrame) {
  SessionFixture s;
  s.load();
  HandFlownRelay relay(s);
  relay.planes[6].hasTurn = true;
  relay.planes[6].phase.levelPhase = true;
  s.drawing.sprites[s.airliner(7)].x = 801;
  relay.step(7);
  EXPECT_TRUE(relay.planes[6].parked);
  EXPECT_TRUE(relay.planes[7].hasTurn);
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
