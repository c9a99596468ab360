#include <gtest/gtest.h>

#include "config/folder_text.h"
#include "config/font_list.h"
#include "core/settings/shown_number.h"

namespace skyfare {
namespace {

TEST(FontListEntries, TakesTheFirstFortyReportedThenSortsIgnoringCase) {
  QStringList reported;
  for (int i = 0; i < 39; ++i) reported << QStringLiteral("m%1").arg(i, 2, 10, QLatin1Char('0'));
  reported << "Zed"
           << "after the fortieth";
  const QStringList entries = fontListEntries(reported);
  ASSERT_EQ(entries.size(), 40);
  EXPECT_EQ(entries.front(), "m00");
  EXPECT_EQ(entries.back(), "Zed");
  EXPECT_FALSE(entries.contains("after the fortieth"));

  EXPECT_EQ(fontListEntries({"b", "C", "a", "B"}), (QStringList{"a", "b", "B", "C"}));
  EXPECT_TRUE(fontListEntries({}).isEmpty());
}

TEST(ShownNumber, ClampsIntoTheRangeAndSaysWhetherItHadTo) {
  struct Row {
    const char* stored;
    std::optional<int> value;
    bool inRange;
  };
  for (const Row& row :
       {Row{"5", 5, true}, Row{" 05 ", 5, true}, Row{"2.5", 2, true}, Row{"101", 100, false},
        Row{"-4", 2, false}, Row{"1e1", std::nullopt, false}, Row{"40000", std::nullopt, false},
        Row{"", std::nullopt, false}, Row{"5 min", std::nullopt, false}}) {
    const std::optional<ShownNumber> shown = shownNumber(row.stored, 2, 100);
    ASSERT_EQ(shown.has_value(), row.value.has_value()) << row.stored;
    if (shown) {
      EXPECT_EQ(shown->value, *row.value) << row.stored;
      EXPECT_EQ(shown->inRange, row.inRange) << row.stored;
    }
  }
}

TEST(FolderForDisplay, DropsTheTrailingSlashButKeepsTheRoot) {
  EXPECT_EQ(folderForDisplay("/usr/share/skyfare/"), "/usr/share/skyfare");
  EXPECT_EQ(folderForDisplay("/opt/sky"), "/opt/sky");
  EXPECT_EQ(folderForDisplay("/"), "/");
}

}  // namespace
}  // namespace skyfare
