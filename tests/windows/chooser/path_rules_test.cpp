#include "windows/chooser/path_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace skyfare {
namespace {

TEST(PathRulesTest, JoiningPutsOneSeparatorEvenAtADrivesRoot) {
  EXPECT_EQ(joinFolderAndName(L"C:\\Pics", L"sky.bmp"), L"C:\\Pics\\sky.bmp");
  EXPECT_EQ(joinFolderAndName(L"C:\\", L"sky.bmp"), L"C:\\sky.bmp");
  EXPECT_EQ(joinFolderAndName(L"\\\\server\\share\\", L"sky.bmp"), L"\\\\server\\share\\sky.bmp");
}

TEST(PathRulesTest, PatternsIgnoreCaseAndLookAtTheLongNameOnly) {
  struct Row {
    const wchar_t* name;
    const wchar_t* pattern;
    bool matches;
  };
  for (const Row& row : {
           Row{L"sky.bmp", L"*.BMP", true},
           Row{L"SEA.BMP", L"*.BMP", true},
           Row{L"photo.JpG", L"*.JPG", true},
           Row{L"sky.bmpx", L"*.BMP", false},
           Row{L"sky.bmp.txt", L"*.BMP", false},
           Row{L"bmp", L"*.BMP", false},
           Row{L".bmp", L"*.BMP", true},
           Row{L"a.b.bmp", L"*.BMP", true},
           Row{L"README", L"*.*", true},
           Row{L"notes.txt", L"*.*", true},
           Row{L"sky1.bmp", L"sky?.bmp", true},
           Row{L"sky.bmp", L"sky?.bmp", false},
           Row{L"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", L"*a*a*a*a*a*a*a*a*c", false},
       }) {
    EXPECT_EQ(matchesPattern(row.name, row.pattern), row.matches)
        << std::wstring(row.name).size() << " chars against pattern " << row.matches;
  }
}

TEST(PathRulesTest, OkTakesTheFolderOnlyForTheSelectedNameExactly) {
  EXPECT_EQ(chosenPath(L"C:\\Pics", L"sky.bmp", L"sky.bmp"), L"C:\\Pics\\sky.bmp");
  EXPECT_EQ(chosenPath(L"C:\\", L"sky.bmp", L"sky.bmp"), L"C:\\sky.bmp");
  EXPECT_EQ(chosenPath(L"C:\\Pics", L"sea.bmp", L"sky.bmp"), L"sea.bmp");
  EXPECT_EQ(chosenPath(L"C:\\Pics", L"SKY.BMP", L"sky.bmp"), L"SKY.BMP");
  EXPECT_EQ(chosenPath(L"C:\\Pics", L"D:\\x.bmp", L""), L"D:\\x.bmp");
  EXPECT_EQ(chosenPath(L"C:\\Pics", L"", L"sky.bmp"), std::nullopt);
}

TEST(PathRulesTest, AncestorsRunFromTheRootToTheFolder) {
  EXPECT_EQ(ancestorsOf(L"C:\\Pics\\Deep"),
            (std::vector<std::wstring>{L"C:\\", L"C:\\Pics", L"C:\\Pics\\Deep"}));
  EXPECT_EQ(ancestorsOf(L"C:\\"), (std::vector<std::wstring>{L"C:\\"}));
  EXPECT_EQ(ancestorsOf(L"C:\\Pics\\"), (std::vector<std::wstring>{L"C:\\", L"C:\\Pics"}));
  EXPECT_EQ(ancestorsOf(L"\\\\server\\share\\Pics"),
            (std::vector<std::wstring>{L"\\\\server\\share\\", L"\\\\server\\share\\Pics"}));
}

TEST(PathRulesTest, NamesAndDrivesOfFolders) {
  EXPECT_EQ(folderName(L"C:\\Pics\\Deep"), L"Deep");
  EXPECT_EQ(folderName(L"C:\\"), L"C:\\");
  EXPECT_EQ(rootOf(L"q:\\Pics"), L"q:\\");
  EXPECT_EQ(driveLetterOf(L"q:\\Pics"), L'Q');
  EXPECT_EQ(driveLetterOf(L"\\\\server\\share"), std::nullopt);
  EXPECT_EQ(driveLetterOf(L"1:\\"), std::nullopt);
  EXPECT_EQ(withoutFinalSeparator(L"Z:\\work\\"), L"Z:\\work");
  EXPECT_EQ(withoutFinalSeparator(L"Z:\\"), L"Z:\\");
}

}  // namespace
}  // namespace skyfare
