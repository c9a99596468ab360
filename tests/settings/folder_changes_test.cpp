#include "settings/folder_changes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace skyfare {
namespace {

void write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

TEST(FolderChanges, AQuietFolderNeedsNoLookAndEachChangeIsToldOnce) {
  QTemporaryDir top;
  const QString folder = top.path() + QStringLiteral("/Airlume");
  FolderChanges changes;
  // Not there yet: nothing can vouch for it.
  changes.follow(QFile::encodeName(folder));
  EXPECT_TRUE(changes.changedSinceLastLook());
  ASSERT_TRUE(QDir().mkpath(folder));
  changes.follow(QFile::encodeName(folder));
  for (int look = 0; look < 3; ++look) EXPECT_FALSE(changes.changedSinceLastLook()) << look;

  write(folder + QStringLiteral("/Airlume.ini"), "[Startup]\nMessage=a\n");
  EXPECT_TRUE(changes.changedSinceLastLook());
  EXPECT_FALSE(changes.changedSinceLastLook());
  // A neighbour's change is told as well: the folder is followed, not one file.
  write(folder + QStringLiteral("/other"), "x");
  EXPECT_TRUE(changes.changedSinceLastLook());
  EXPECT_FALSE(changes.changedSinceLastLook());
}

TEST(FolderChanges, AFolderGoneOrMovedAwayIsNoLongerVouchedFor) {
  struct Row {
    const char* what;
    bool (*takeAway)(const QString& folder);
  };
  for (const Row& row :
       {Row{"removed", [](const QString& f) { return QDir(f).removeRecursively(); }},
        Row{"moved away",
            [](const QString& f) { return QDir().rename(f, f + QStringLiteral(".old")); }}}) {
    QTemporaryDir top;
    const QString folder = top.path() + QStringLiteral("/Airlume");
    ASSERT_TRUE(QDir().mkpath(folder));
    FolderChanges changes;
    changes.follow(QFile::encodeName(folder));
    changes.changedSinceLastLook();
    ASSERT_FALSE(changes.changedSinceLastLook()) << row.what;
    ASSERT_TRUE(row.takeAway(folder)) << row.what;
    EXPECT_TRUE(changes.changedSinceLastLook()) << row.what;
    // Until it is followed again at its path, every look is told to go to the disk.
    EXPECT_TRUE(changes.changedSinceLastLook()) << row.what;
    ASSERT_TRUE(QDir().mkpath(folder)) << row.what;
    changes.follow(QFile::encodeName(folder));
    changes.changedSinceLastLook();
    EXPECT_FALSE(changes.changedSinceLastLook()) << row.what;
    write(folder + QStringLiteral("/Airlume.ini"), "x");
    EXPECT_TRUE(changes.changedSinceLastLook()) << row.what;
  }
}

}  // namespace
}  // namespace skyfare
