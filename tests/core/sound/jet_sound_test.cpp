#include "core/sound/jet_sound.h"

#include <gtest/gtest.h>

#include "tests/support/recording_sound.h"

namespace skyfare {
namespace {

using testing::RecordingSound;

TEST(SoundLimit, MinutesBecomeSecondsForTheOfferedValuesOnly) {
  EXPECT_EQ(soundLimitFor("1"), 60);
  EXPECT_EQ(soundLimitFor("45"), 2700);
  EXPECT_EQ(soundLimitFor("480"), 28800);
  EXPECT_EQ(soundLimitFor("05"), 300) << "compared as numbers";
  EXPECT_EQ(soundLimitFor(" 10 "), 600);
  EXPECT_EQ(soundLimitFor("7"), std::nullopt);
  EXPECT_EQ(soundLimitFor("Never"), std::nullopt);
  EXPECT_EQ(soundLimitFor("1 minute"), std::nullopt);
  EXPECT_EQ(soundLimitFor(""), std::nullopt);
}

// The tick numbers at which StopAll is called within the first ticks.
std::vector<int> stopTicks(const std::string& soundOff, int ticks) {
  RecordingSound sound;
  JetSound jet(sound);
  if (soundOff != kNeverStopSound)
    jet.SoundOff(soundOff);
  std::vector<int> stops;
  for (int t = 1; t <= ticks; ++t) {
    const int before = sound.stopAlls;
    jet.tick(soundOff);
    if (sound.stopAlls > before)
      stops.push_back(t);
  }
  return stops;
}

TEST(TmrSound, TheLimitSilencesOnceASecondFromItsTickOn) {
  const std::vector<int> one = stopTicks("1", 62);
  EXPECT_EQ(one, (std::vector<int>{60, 61, 62}));
  EXPECT_EQ(stopTicks("7", 2), (std::vector<int>{1, 2})) << "an unknown value has limit 0";
  EXPECT_TRUE(stopTicks("Never", 100000).empty());
}

TEST(TmrSound, TheCountWrapsAfter86399SecondsAndReachesTheLimitAgain) {
  RecordingSound sound;
  JetSound jet(sound);
  jet.SoundOff("480");
  std::vector<int> firstStopsAfterSilence;
  int previous = 0;
  for (int t = 1; t <= 86399 + 28800 + 1; ++t) {
    const int before = sound.stopAlls;
    jet.tick("480");
    const bool stopped = sound.stopAlls > before;
    if (stopped && previous != t - 1)
      firstStopsAfterSilence.push_back(t);
    if (stopped)
      previous = t;
  }
  EXPECT_EQ(firstStopsAfterSilence, (std::vector<int>{28800, 86399 + 28800}));
  EXPECT_TRUE(jet.soundStopped()) << "never set back during the session";
}

TEST(JetSoundOpening, LoadsTheTakeOffSoundSilentAndReadsProp) {
  for (const auto& [prop, enabled] :
       {std::pair{"1", true}, {"0", false}, {"1.0", true}, {"abc", false}}) {
    RecordingSound sound;
    JetSound jet(sound);
    jet.OpenDirectSoundSession("/data/", prop);
    EXPECT_EQ(sound.calls, (std::vector<std::string>{"ReleaseSound 0", "LoadWave /data/takeoff.wav",
                                                     "StopSound 7"}));
    EXPECT_EQ(jet.jetSoundHandle(), 7);
    EXPECT_EQ(jet.fastJetEnabled(), enabled) << prop;
  }
}

}  // namespace
}  // namespace skyfare
