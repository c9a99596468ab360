#include "core/saver/form1.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/saver/scene_loading.h"
#include "tests/support/session_fixture.h"

namespace skyfare {
namespace {

using testing::SessionFixture;

std::vector<std::string> readsOf(const std::vector<std::string>& log) {
  std::vector<std::string> reads;
  for (const auto& entry : log) {
    if (entry.rfind("get ", 0) == 0)
      reads.push_back(entry.substr(4));
  }
  return reads;
}

TEST(Form1Load, RunsItsStepsInOrder) {
  SessionFixture s;
  s.form = std::make_unique<Form1>(
      SessionParts{s.drawing, s.sound, s.store, s.host, s.random, testing::kTestDataFolder});
  s.form->Load();

  // First-run check and defaults before anything else is read.
  ASSERT_GE(s.store.log.size(), 21u);
  EXPECT_EQ(s.store.log[0], "get System/SetReg");
  EXPECT_EQ(s.store.log[20], "set System/SetReg=2");
  const std::vector<std::string> reads = readsOf(s.store.log);
  const std::vector<std::string> expected = {
      "System/SetReg",    "Startup/Speed",      "Startup/SecDelay",    "Startup/FontSize",
      "System/MouseSens", "Startup/Clock",      "Startup/FontClock",   "System/SoundOff",
      "Startup/Volume",   "Startup/BackGround", "Startup/BMPFileName", "Startup/LogoChecked",
      "Startup/Prop"};
  EXPECT_EQ(reads, expected);

  // Both components hidden, then the display, then the sound.
  EXPECT_EQ(s.drawing.calls.front(), "drawing.hidden");
  EXPECT_EQ(s.sound.calls.front(), "sound.hidden");
  EXPECT_EQ(s.drawing.calls[1], "InitDisplay 800x600x16");
  const std::vector<std::string> soundOpening(s.sound.calls.begin() + 1, s.sound.calls.end());
  EXPECT_EQ(soundOpening,
            (std::vector<std::string>{"ReleaseSound 0", "LoadWave /data/skyfare/takeoff.wav",
                                      "StopSound 7"}));
  EXPECT_EQ(s.host.cursorHides, 1);
  EXPECT_EQ(s.host.cursorShows, 0);
  EXPECT_EQ(s.form->settings().Speed, 3);
  EXPECT_EQ(s.form->settings().Volume, -1533);
  EXPECT_EQ(s.form->settings().SoundOff, "Never");
  EXPECT_TRUE(s.form->planes()[0].hasTurn);
  EXPECT_FALSE(s.form->jetSound().soundStopped());
}

TEST(Form1Load, BadNumbersTakeTheirDefaultsInsteadOfFailing) {
  SessionFixture s;
  s.load({{"Startup/Volume", "loud"},
          {"Startup/FontClock", "99999"},
          {"Startup/Speed", "abc"},
          {"Startup/FontSize", "huge"}});
  EXPECT_EQ(s.form->settings().Volume, -1533);
  EXPECT_EQ(s.form->settings().FontClock, 20);
  EXPECT_EQ(s.form->settings().Speed, 0);
  EXPECT_EQ(s.form->settings().FontSize, "huge");
  EXPECT_EQ(s.store.values["Startup/FontSize"], "huge") << "the stored text is left as typed";
}

TEST(Form1Load, ARefusedDisplayShowsOneMessageCreatesNoSpriteAndEndsTheSession) {
  SessionFixture s;
  s.drawing.displayAvailable = false;
  s.load();
  ASSERT_EQ(s.host.messages.size(), 1u);
  EXPECT_EQ(s.host.messages[0], std::string(kDisplayErrorTitle) + ": " + kDisplayErrorText);
  EXPECT_TRUE(s.drawing.sprites.empty());
  EXPECT_TRUE(s.form->ended());
  EXPECT_EQ(s.host.exits, std::vector<int>{kExitDisplayUnavailable});
  EXPECT_EQ(s.host.cursorShows, 1) << "nobody is left with a hidden cursor";
  EXPECT_NE(
      std::find(s.sound.calls.begin(), s.sound.calls.end(), "LoadWave /data/skyfare/takeoff.wav"),
      s.sound.calls.end())
      << "the sound is still opened after the message";
}

TEST(Form1Input, AnyKeyOrButtonEndsTheSessionWhateverTheSensitivity) {
  for (const bool key : {true, false}) {
    SessionFixture s;
    s.load({{"System/MouseSens", "20"}});
    s.frames(60);
    ASSERT_TRUE(s.sound.playing) << "the jet is heard before the input";
    key ? s.form->KeyDown() : s.form->MouseDown();
    EXPECT_TRUE(s.form->ended());
    EXPECT_FALSE(s.sound.playing) << "nothing plays";
    EXPECT_TRUE(s.sound.held.empty()) << "every sound is released";
    EXPECT_EQ(s.host.saverRunning, std::vector<bool>{false});
    EXPECT_EQ(s.host.exits, std::vector<int>{0});
    EXPECT_EQ(s.host.cursorHides, 1);
    EXPECT_EQ(s.host.cursorShows, 1);
  }
}

TEST(Form1Input, NothingOfTheSessionRunsAfterCloseDown) {
  SessionFixture s;
  s.load();
  s.form->KeyDown();
  const int flips = s.drawing.flips;
  s.form->KeyDown();
  s.form->MouseMove();
  s.form->FrameUpdate();
  s.form->tmrSoundTick();
  s.form->Unload();
  EXPECT_EQ(s.drawing.flips, flips);
  EXPECT_EQ(s.host.exits.size(), 1u);
  EXPECT_EQ(s.host.cursorShows, 1);
}

// Movements at the given seconds after the first; returns how many were made before the
// session ended (0 when it did not end).
int movementsToEnd(const char* mouseSens, std::vector<double> atSeconds, double startOfDay) {
  SessionFixture s;
  s.load({{"System/MouseSens", mouseSens}});
  for (std::size_t i = 0; i < atSeconds.size(); ++i) {
    s.host.timeOfDay = std::fmod(startOfDay + atSeconds[i], 86400.0);
    s.form->MouseMove();
    if (s.form->ended())
      return static_cast<int>(i + 1);
  }
  return 0;
}

TEST(Form1Input, TheMouseRuleCountsMovementsInATenSecondWindow) {
  const double noon = 12 * 3600.0;
  EXPECT_EQ(movementsToEnd("1", {0}, noon), 1);
  EXPECT_EQ(movementsToEnd("4", {0, 1, 2}, noon), 0);
  EXPECT_EQ(movementsToEnd("4", {0, 1, 2, 3}, noon), 4);
  // The fourth comes late, but is tested before the window is cleared.
  EXPECT_EQ(movementsToEnd("4", {0, 1, 2, 15}, noon), 4);
  // The third comes late: counted as 3, tested, and clears the count; the fourth counts 1.
  EXPECT_EQ(movementsToEnd("4", {0, 1, 15, 16}, noon), 0);
  EXPECT_EQ(movementsToEnd("4", {0, 1, 15, 16, 17, 18, 19}, noon), 7);
  // A window opened just before midnight never expires.
  EXPECT_EQ(movementsToEnd("4", {0, 30, 300, 3000}, 86395.0), 4);
  // A sensitivity the count can never equal exactly still ends the session.
  EXPECT_EQ(movementsToEnd("0", {0}, noon), 1);
  EXPECT_EQ(movementsToEnd("2.5", {0, 1, 2}, noon), 3);
}

TEST(Form1Timers, TheClockIsMidnightUntilTheFirstTickAndThePauseWrapsPastSecDelay) {
  SessionFixture s;
  s.load({{"Startup/SecDelay", "3"}});
  EXPECT_EQ(s.form->clockTime(), 0);
  s.host.timeOfDay = 3 * 3600 + 45 * 60 + 12.7;
  s.form->tmrPlaneTick();
  EXPECT_EQ(s.form->clockTime(), 3 * 3600 + 45 * 60 + 12);
  std::vector<int> waits;
  for (int i = 0; i < 5; ++i) {
    s.form->tmrPauseTick();
    waits.push_back(s.form->jet().waitSeconds);
  }
  EXPECT_EQ(waits, (std::vector<int>{1, 2, 3, 0, 1}));
}

}  // namespace
}  // namespace skyfare
