#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "windows/config/font_faces.h"
#include "windows/config/gap_layout.h"

namespace skyfare {
namespace {

TEST(LongestBlankRun, IsTheWidestRunOfSpacesBetweenTheWords) {
  const std::wstring soundOff = L"Stop sound after:" + std::wstring(20, L' ') + L"min.";
  const BlankRun run = longestBlankRun(soundOff);
  EXPECT_EQ(run.start, 17u);
  EXPECT_EQ(run.end, 37u);

  const BlankRun first = longestBlankRun(L"a  b  c");
  EXPECT_EQ(first.start, 1u) << "of equal runs, the first";
  EXPECT_EQ(first.end, 3u);
  const BlankRun none = longestBlankRun(L"word");
  EXPECT_EQ(none.end - none.start, 0u);
  const BlankRun trailing = longestBlankRun(L"end   ");
  EXPECT_EQ(trailing.start, 3u);
  EXPECT_EQ(trailing.end, 6u);
}

TEST(PlaceSideBySide, SharersTakeWhatTheFixedWidthsLeave) {
  std::vector<int> widths = {0, 30};
  const std::vector<int> lefts = placeSideBySide(100, 300, 3, widths);
  EXPECT_EQ(lefts, (std::vector<int>{100, 270}));
  EXPECT_EQ(widths, (std::vector<int>{167, 30}));
}

TEST(PlaceSideBySide, AGapNarrowerThanTheFixedWidthsLeavesSharersEmptyNotNegative) {
  std::vector<int> widths = {0, 50};
  const std::vector<int> lefts = placeSideBySide(10, 40, 3, widths);
  EXPECT_EQ(widths[0], 0);
  EXPECT_EQ(lefts, (std::vector<int>{10, 13}));
}

TEST(FontListEntries, HoldsTheFirstFortyReportedFacesSortedWithoutCase) {
  std::vector<std::wstring> reported;
  for (int i = 45; i > 0; --i) reported.push_back(L"Face " + std::to_wstring(100 + i));
  const std::vector<std::wstring> entries = fontListEntries(reported);
  ASSERT_EQ(entries.size(), 40u);
  EXPECT_EQ(entries.front(), L"Face 106");
  EXPECT_EQ(entries.back(), L"Face 145");

  EXPECT_EQ(fontListEntries({L"tahoma", L"Arial", L"DejaVu Sans", L"ARIAL"}),
            (std::vector<std::wstring>{L"Arial", L"ARIAL", L"DejaVu Sans", L"tahoma"}))
      << "ties keep the reported order";
  EXPECT_TRUE(fontListEntries({}).empty());
}

}  // namespace
}  // namespace skyfare
