#include "core/settings/conversions.h"

#include <gtest/gtest.h>

namespace skyfare {
namespace {

struct LeadingNumberRow {
  const char* text;
  double value;
};

TEST(LeadingNumber, ReadsTheLongestLeadingNumberAndIgnoresBlanks) {
  const LeadingNumberRow rows[] = {
      {" 4", 4},  {"05", 5},        {"3.0", 3},         {"12abc", 12},  {"", 0},
      {"abc", 0}, {"-1533", -1533}, {"1 2", 12},        {"2.5.1", 2.5}, {"-", 0},
      {"+7", 7},  {".5", 0.5},      {"30 seconds", 30},
  };
  for (const auto& row : rows) EXPECT_DOUBLE_EQ(leadingNumber(row.text), row.value) << row.text;
}

TEST(ToInt16, RoundsAHalfToTheEvenNeighbourAndRefusesWhatDoesNotFit) {
  EXPECT_EQ(toInt16(2.5), 2);
  EXPECT_EQ(toInt16(3.5), 4);
  EXPECT_EQ(toInt16(-2.5), -2);
  EXPECT_EQ(toInt16(2.6), 3);
  EXPECT_EQ(toInt16(32767.0), 32767);
  EXPECT_EQ(toInt16(-32768.0), -32768);
  EXPECT_EQ(toInt16(32767.5), std::nullopt);
  EXPECT_EQ(toInt16(40000.0), std::nullopt);
  EXPECT_EQ(toInt16(std::numeric_limits<double>::infinity()), std::nullopt);
  EXPECT_EQ(toInt16(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
}

TEST(ToInt16, ConvertsOnlyWholeNumericTexts) {
  EXPECT_EQ(toInt16(std::string_view("2")), 2);
  EXPECT_EQ(toInt16(std::string_view(" -1533 ")), -1533);
  EXPECT_EQ(toInt16(std::string_view("2.5")), 2);
  EXPECT_EQ(toInt16(std::string_view("05")), 5);
  EXPECT_EQ(toInt16(std::string_view("")), std::nullopt);
  EXPECT_EQ(toInt16(std::string_view("abc")), std::nullopt);
  EXPECT_EQ(toInt16(std::string_view("12abc")), std::nullopt);
  EXPECT_EQ(toInt16(std::string_view("99999")), std::nullopt);
}

TEST(IsNumericText, AcceptsSignDigitsFractionAndSurroundingBlanks) {
  EXPECT_TRUE(isNumericText(" 4567"));
  EXPECT_TRUE(isNumericText("-5 "));
  EXPECT_TRUE(isNumericText("1.5"));
  EXPECT_FALSE(isNumericText(":4567"));
  EXPECT_FALSE(isNumericText(""));
  EXPECT_FALSE(isNumericText("+"));
  EXPECT_FALSE(isNumericText("4 5"));
}

TEST(LongestNumericTailStart, FindsWhatTryingEveryTailFinds) {
  const char* texts[] = {"",    "/p 4567",   "/p:-45", "/p 1.2.3", "/p 5.",   "/p .", "/p +",
                         "4 5", "x\t 12 \t", "--5",    "1e5",      "/p 12 x", ". 5",  "-.5"};
  for (const std::string_view text : texts) {
    std::size_t expected = text.size();
    for (std::size_t start = 0; start < text.size(); ++start) {
      if (isNumericText(text.substr(start))) {
        expected = start;
        break;
      }
    }
    EXPECT_EQ(longestNumericTailStart(text), expected) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace skyfare
