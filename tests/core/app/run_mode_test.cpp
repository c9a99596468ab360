#include "core/app/run_mode.h"

#include <gtest/gtest.h>

#include <string>

namespace skyfare {
namespace {

struct Row {
  const char* commandLine;
  RunMode mode;
  std::int64_t hostWindow;
  bool isShowSwitch;
};

TEST(ParseCommandLine, ChoosesTheModeFromTheFirstTwoCharacters) {
  const Row rows[] = {
      {"", RunMode::ShowSaver, 0, false},
      {"   ", RunMode::ShowSaver, 0, false},
      {"/s", RunMode::ShowSaver, 0, true},
      {"  /S  ", RunMode::ShowSaver, 0, true},
      {"/s:1", RunMode::ShowSaver, 0, true},
      {"/sx", RunMode::ShowSaver, 0, true},
      {"-s", RunMode::NoWindow, 0, false},
      {"s", RunMode::NoWindow, 0, false},
      {"/p 4567", RunMode::ShowPreview, 4567, false},
      {"/P:4567", RunMode::ShowPreview, 4567, false},
      {"/p", RunMode::ShowPreview, 0, false},
      {"/p abc", RunMode::ShowPreview, 0, false},
      {"/p 99999999999", RunMode::ShowPreview, 0, false},
      {"/c", RunMode::Configure, 0, false},
      {"/c:123", RunMode::Configure, 0, false},
      {"/a", RunMode::ChangePassword, 0, false},
      {"/x", RunMode::NoWindow, 0, false},
      {"/", RunMode::NoWindow, 0, false},
  };
  for (const Row& row : rows) {
    const StartRequest request = parseCommandLine(row.commandLine);
    EXPECT_EQ(request.mode, row.mode) << '"' << row.commandLine << '"';
    EXPECT_EQ(request.hostWindow, row.hostWindow) << '"' << row.commandLine << '"';
    EXPECT_EQ(request.isShowSwitch, row.isShowSwitch) << '"' << row.commandLine << '"';
  }
}

TEST(ParseCommandLine, ReadsAVeryLongPreviewTextInOnePass) {
  // A quadratic search of its tails would take minutes on these.
  EXPECT_EQ(parseCommandLine("/p" + std::string(1 << 20, ' ') + "x").hostWindow, 0);
  EXPECT_EQ(parseCommandLine("/p " + std::string(1 << 20, '0') + "12").hostWindow, 12);
}

TEST(EndsEarly, OnlyTheShowSwitchYieldsToARunningInstance) {
  EXPECT_TRUE(endsEarly(parseCommandLine("/s"), false, true));
  EXPECT_FALSE(endsEarly(parseCommandLine("/s"), true, true));
  EXPECT_FALSE(endsEarly(parseCommandLine("/s"), false, false));
  for (const char* other : {"", "/p 12", "/c", "/a"}) {
    EXPECT_FALSE(endsEarly(parseCommandLine(other), false, true)) << other;
  }
}

}  // namespace
}  // namespace skyfare
