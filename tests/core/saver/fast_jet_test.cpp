#include "core/saver/fast_jet.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/session_fixture.h"

namespace skyfare {
namespace {

using testing::SessionFixture;

long framesUntil(SessionFixture& s, const std::function<bool()>& condition, long limit) {
  long n = 0;
  while (!condition() && n < limit) s.frame(), ++n;
  return n;
}

TEST(FastJet, WithPropOffItIsNeverDrawnAndNeverHeard) {
  SessionFixture s;
  s.load({{"Startup/Prop", "0"}});
  s.sound.calls.clear();
  s.frames(60 * 120);
  EXPECT_EQ(s.drawing.drawOf(s.form->scene().jetSprite), nullptr);
  EXPECT_EQ(s.sound.plays, 0);
  EXPECT_EQ(s.drawing.sprite(s.form->scene().jetSprite).x, 805);
  EXPECT_TRUE(std::any_of(s.form->planes().begin(), s.form->planes().end(),
                          [](const PlaneState& p) { return p.hasTurn; }))
      << "the airliners fly as usual";
}

TEST(FastJet, TheSoundPlaysInEveryLevelFrameOnceTheJetIsLeftOfX801) {
  // A session's first pass starts with four drift frames, then ten level frames, and so on.
  constexpr int kDriftFrames = 4;
  constexpr int kPhaseCycleFrames = 14;
  SessionFixture s;
  s.load();
  const SpriteHandle jet = s.form->scene().jetSprite;
  int framesHeard = 0;
  for (int i = 0; i < 60 * 5; ++i) {
    const int plays = s.sound.plays;
    s.frame();
    const bool levelFrame = i % kPhaseCycleFrames >= kDriftFrames;
    const bool onScreen = s.drawing.sprite(jet).x < 801;
    ASSERT_EQ(s.sound.plays - plays, levelFrame && onScreen ? 1 : 0) << "frame " << i;
    if (s.sound.plays > plays) {
      ++framesHeard;
      EXPECT_EQ(s.sound.calls.back(), "SetVolume 7 -1533");
    }
  }
  EXPECT_GT(framesHeard, 100) << "the jet crosses most of the screen in five seconds";
}

TEST(FastJet, LeavesWaitsAndComesBackAlongTheTopEdgeAfterSecDelay) {
  SessionFixture s;
  s.load({{"Startup/SecDelay", "30"}});
  const SpriteHandle jet = s.form->scene().jetSprite;
  framesUntil(
      s, [&] { return s.form->jet().waiting; }, 60 * 60);
  ASSERT_TRUE(s.form->jet().waiting);
  EXPECT_EQ(s.drawing.sprite(jet).x, 805);
  EXPECT_EQ(s.drawing.sprite(jet).y, 0) << "the second pass flies at the top edge";
  const long waited = framesUntil(
      s, [&] { return !s.form->jet().waiting; }, 60 * 60);
  EXPECT_GE(waited, 29 * 60 - 1);
  EXPECT_LE(waited, 30 * 60 + 1);
  s.frames(3);
  EXPECT_LT(s.drawing.sprite(jet).x, 805);
  EXPECT_LE(s.drawing.sprite(jet).y, 3);
}

TEST(FastJet, TheLeaveTestDependsOnThePhase) {
  SessionFixture s;
  s.load();
  FlightContext flight{s.drawing, s.form->scene(), s.form->settings(), s.host, s.random};
  const JetSession session{s.sound, 0, true, false};
  JetState jet;
  const SpriteHandle sprite = s.form->scene().jetSprite;
  s.drawing.sprites[sprite].x = -320;
  s.host.advanceMs(17);
  StepJet(flight, jet, session);  // drift frame at -322: still flying
  EXPECT_FALSE(jet.waiting);
  s.drawing.sprites[sprite].x = -320;
  jet.phase.levelPhase = true;
  s.host.advanceMs(17);
  StepJet(flight, jet, session);  // level frame at -322: gone
  EXPECT_TRUE(jet.waiting);
}

TEST(FastJet, FliesOnSilentlyOnceTheSoundTimeHasRunOut) {
  SessionFixture s;
  s.load({{"System/SoundOff", "7"}});
  s.frames(61);  // the first tick silences
  EXPECT_TRUE(s.form->jetSound().soundStopped());
  const int plays = s.sound.plays;
  const int x = s.drawing.sprite(s.form->scene().jetSprite).x;
  s.frames(60);
  EXPECT_EQ(s.sound.plays, plays);
  EXPECT_LT(s.drawing.sprite(s.form->scene().jetSprite).x, x);
}

}  // namespace
}  // namespace skyfare
