#include "core/app/hack_arguments.h"

#include <gtest/gtest.h>

namespace skyfare {
namespace {

struct Row {
  std::vector<std::string> arguments;
  const char* xscreensaverWindow;
  std::optional<std::uint32_t> hostWindow;
  bool isPreview;
  std::string badWindowId;
  std::vector<std::string> unknown;
};

TEST(ParseHackArguments, FindsTheHostWindowAsEachHostPassesIt) {
  const Row rows[] = {
      // XScreenSaver: "--root" (or "-root") with the window in hexadecimal.
      {{"--root"}, "0x40000C", 0x40000Cu, false, "", {}},
      {{"-root"}, "0x40000c", 0x40000Cu, false, "", {}},
      // xsecurelock: "-root" with the window in decimal.
      {{"-root"}, "4194316", 4194316u, false, "", {}},
      // A settings program's preview pane, which wins over the variable.
      {{"--root", "--window-id", "0x2a"}, "0x40000c", 42u, true, "", {}},
      {{"-window-id", "42"}, nullptr, 42u, true, "", {}},
      {{"--window-id=0x2A"}, nullptr, 42u, true, "", {}},
      // Run by hand: a window of its own.
      {{}, nullptr, std::nullopt, false, "", {}},
      {{"--root"}, "", std::nullopt, false, "", {}},
      // Unknown arguments are kept for reporting; the rest still counts.
      {{"-fps", "--root", "/s"}, "7", 7u, false, "", {"-fps", "/s"}},
      {{"--window-id"}, nullptr, std::nullopt, false, "", {"--window-id"}},
  };
  for (const Row& row : rows) {
    const HackRequest request = parseHackArguments(row.arguments, row.xscreensaverWindow);
    const std::string where = ::testing::PrintToString(row.arguments);
    EXPECT_EQ(request.hostWindow, row.hostWindow) << where;
    EXPECT_EQ(request.isPreview, row.isPreview) << where;
    EXPECT_EQ(request.badWindowId, row.badWindowId) << where;
    EXPECT_EQ(request.unknownArguments, row.unknown) << where;
  }
}

TEST(ParseHackArguments, AnIdThatCannotNameAWindowIsKeptForTheMessage) {
  EXPECT_EQ(parseHackArguments({"--window-id", "nonsense"}, nullptr).badWindowId, "nonsense");
  EXPECT_EQ(parseHackArguments({"-root"}, "0xZZ").badWindowId, "0xZZ");
  EXPECT_FALSE(parseHackArguments({"-root"}, "0xZZ").hostWindow);
}

TEST(ParseWindowId, TakesHexadecimalAndDecimalWithinThirtyTwoBits) {
  EXPECT_EQ(parseWindowId("0x1"), 1u);
  EXPECT_EQ(parseWindowId("0XfFfFfFfF"), 0xFFFFFFFFu);
  EXPECT_EQ(parseWindowId("4294967295"), 4294967295u);
  for (const char* bad : {"", "0", "0x", "0x0", "-5", "+5", " 5", "5 ", "4294967296", "0x100000000",
                          "12abc", "0x12g"}) {
    EXPECT_FALSE(parseWindowId(bad)) << '"' << bad << '"';
  }
}

}  // namespace
}  // namespace skyfare
