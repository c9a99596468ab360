#include "chooser/path_rules.h"

#include <gtest/gtest.h>

namespace skyfare {
namespace {

TEST(JoinFolderAndName, PutsExactlyOneSlashBetween) {
  EXPECT_EQ(joinFolderAndName("/home/ann/Pics", "sky.bmp"), "/home/ann/Pics/sky.bmp");
  EXPECT_EQ(joinFolderAndName("/home/ann/Pics/", "sky.bmp"), "/home/ann/Pics/sky.bmp");
  EXPECT_EQ(joinFolderAndName("/", "sky.bmp"), "/sky.bmp");
}

TEST(MatchesPattern, IgnoresLetterCaseAndTreatsStarDotStarAsEverything) {
  struct Row {
    const char* name;
    const char* pattern;
    bool matches;
  };
  for (const Row& row : {
           Row{"sky.bmp", "*.BMP", true},
           Row{"SKY.Bmp", "*.bmp", true},
           Row{"sky.bmp.txt", "*.BMP", false},
           Row{"sky.bmpx", "*.BMP", false},
           Row{"skybmp", "*.BMP", false},
           Row{".bmp", "*.BMP", true},
           Row{"photo.jpeg", "*.JPG", false},
           Row{"README", "*.*", true},
           Row{"a.b.c", "*.*", true},
           Row{"a.gif", "?.GIF", true},
           Row{"ab.gif", "?.GIF", false},
           Row{"Ärger.bmp", "ä*.BMP", true},
       }) {
    EXPECT_EQ(matchesPattern(QString::fromUtf8(row.name), QString::fromUtf8(row.pattern)),
              row.matches)
        << row.name << " against " << row.pattern;
  }
}

TEST(ChosenPath, JoinsOnlyWhenTheNameIsExactlyTheSelectedFile) {
  struct Row {
    const char* typed;
    const char* selected;
    std::optional<QString> path;
  };
  for (const Row& row : {
           Row{"sky.bmp", "sky.bmp", "/pics/sky.bmp"},
           Row{"sea.bmp", "sky.bmp", "sea.bmp"},
           Row{"SKY.BMP", "sky.bmp", "SKY.BMP"},
           Row{"/elsewhere/x.bmp", "", "/elsewhere/x.bmp"},
           Row{"", "sky.bmp", std::nullopt},
           Row{"", "", std::nullopt},
       }) {
    EXPECT_EQ(chosenPath("/pics", row.typed, row.selected), row.path) << row.typed;
  }
  EXPECT_EQ(chosenPath("/", "sky.bmp", "sky.bmp"), "/sky.bmp");
}

TEST(AncestorsOf, RunFromTheRootDownToTheFolder) {
  EXPECT_EQ(ancestorsOf("/home/ann"), (QStringList{"/", "/home", "/home/ann"}));
  EXPECT_EQ(ancestorsOf("/"), (QStringList{"/"}));
}

TEST(VolumeOf, IsTheLongestRootHoldingThePathAtAFolderBoundary) {
  const QStringList roots = {"/", "/media/usb", "/boot"};
  EXPECT_EQ(volumeOf("/media/usb/pics", roots), "/media/usb");
  EXPECT_EQ(volumeOf("/media/usb", roots), "/media/usb");
  EXPECT_EQ(volumeOf("/media/usbstick", roots), "/");
  EXPECT_EQ(volumeOf("/home", roots), "/");
  EXPECT_EQ(volumeOf("/home", {}), "/");
}

}  // namespace
}  // namespace skyfare
