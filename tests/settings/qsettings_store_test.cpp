#include "settings/qsettings_store.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QThread>
#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>

#include "settings/dead_writer.h"
#include "tests/support/temp_config_folder.h"

namespace skyfare {
namespace {

using testing::TempConfigFolder;

QByteArray readAll(const QString& path) {
  QFile file(path);
  file.open(QIODevice::ReadOnly);
  return file.readAll();
}

void writeRaw(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

TEST(QSettingsStore, KeepsTheFileInTheUsersConfigFolder) {
  TempConfigFolder config;
  QSettingsStore store;
  store.SaveSetting("Airlume", "Startup", "Speed", "3");
  store.SaveSetting("Airlume", "System", "SetReg", "2");
  EXPECT_EQ(QSettingsStore::filePath("Airlume"), config.iniPath());
  const QByteArray text = readAll(config.iniPath());
  EXPECT_TRUE(text.contains("[Startup]")) << text.constData();
  EXPECT_TRUE(text.contains("[System]")) << text.constData();
}

TEST(QSettingsStore, MissingKeysReadAsTheDefault) {
  TempConfigFolder config;
  QSettingsStore store;
  EXPECT_EQ(store.GetSetting("Airlume", "Startup", "Message", "1"), "1");
  EXPECT_FALSE(QFile::exists(config.iniPath())) << "a read must not create the file";
}

TEST(QSettingsStore, ValuesRoundTripByteForByte) {
  const std::string values[] = {
      "C:\\Corvinel\\Skyfare\\city lights.bmp",
      "a ; b # c = d \" e \\ f @ g",
      "@Variant(nothing)",
      "Grüße, čeština, 日本語",
      "  leading and trailing  ",
      "",
      "line one\nline two",
      "[Startup]",
  };
  TempConfigFolder config;
  {
    QSettingsStore writer;
    int i = 0;
    for (const auto& value : values) {
      writer.SaveSetting("Airlume", "Startup", "Key" + std::to_string(i++), value);
    }
  }
  QSettingsStore reader;  // a fresh store reads the file from disk
  int i = 0;
  for (const auto& value : values) {
    EXPECT_EQ(reader.GetSetting("Airlume", "Startup", "Key" + std::to_string(i++), "1"), value);
  }
}

TEST(QSettingsStore, SeesAnotherWritersChangeOnTheNextRead) {
  struct Row {
    const char* what;
    void (*change)(const TempConfigFolder& config);
    const char* expected;
  };
  static constexpr auto replaceFolder = [](const TempConfigFolder& config, bool moveAway) {
    const QString folder = QFileInfo(config.iniPath()).absolutePath();
    ASSERT_TRUE(moveAway ? QDir().rename(folder, folder + QStringLiteral(".old"))
                         : QDir(folder).removeRecursively());
    writeRaw(config.iniPath(), "[Startup]\nMessage=in a new folder\n");
  };
  const Row rows[] = {
      {"rewritten in place",
       [](const TempConfigFolder& config) {
         writeRaw(config.iniPath(), "[Startup]\nMessage=second text\n");
       },
       "second text"},
      {"replaced by another store",
       [](const TempConfigFolder&) {
         QSettingsStore other;
         other.SaveSetting("Airlume", "Startup", "Message", "from the dialog");
       },
       "from the dialog"},
      {"replaced by a file moved in from outside its folder",
       [](const TempConfigFolder& config) {
         const QString beside = config.path() + QStringLiteral("/new.ini");
         writeRaw(beside, "[Startup]\nMessage=moved in\n");
         // Over the old file in one step, as editors save.
         ASSERT_EQ(std::rename(QFile::encodeName(beside).constData(),
                               QFile::encodeName(config.iniPath()).constData()),
                   0);
       },
       "moved in"},
      {"removed", [](const TempConfigFolder& config) { QFile::remove(config.iniPath()); }, "1"},
      {"its folder removed and made again",
       [](const TempConfigFolder& config) { replaceFolder(config, false); }, "in a new folder"},
      {"its folder moved away and another put in its place",
       [](const TempConfigFolder& config) { replaceFolder(config, true); }, "in a new folder"},
  };
  for (const Row& row : rows) {
    TempConfigFolder config;
    QSettingsStore store;
    store.SaveSetting("Airlume", "Startup", "Message", "first");
    // Reads between changes, as the saver's frames make them.
    for (int read = 0; read < 3; ++read)
      EXPECT_EQ(store.GetSetting("Airlume", "Startup", "Message", "1"), "first") << row.what;
    row.change(config);
    EXPECT_EQ(store.GetSetting("Airlume", "Startup", "Message", "1"), row.expected) << row.what;
    writeRaw(config.iniPath(), "[Startup]\nMessage=and again\n");
    EXPECT_EQ(store.GetSetting("Airlume", "Startup", "Message", "1"), "and again") << row.what;
  }
  // Read before there was any folder, then written by someone else.
  TempConfigFolder config;
  QSettingsStore store;
  EXPECT_EQ(store.GetSetting("Airlume", "Startup", "Message", "1"), "1");
  writeRaw(config.iniPath(), "[Startup]\nMessage=first run\n");
  EXPECT_EQ(store.GetSetting("Airlume", "Startup", "Message", "1"), "first run");
}

TEST(QSettingsStore, GarbageOrHugeFilesReadAsMissingAndAreKeptAsideBeforeTheFirstWrite) {
  QByteArray garbage;
  for (int i = 0; i < 4096; ++i) garbage.append(static_cast<char>((i * 7919) % 256));
  const QByteArray huge = QByteArray("[Startup]\nSpeed=9\n") + QByteArray(3 << 20, 'x');
  for (const QByteArray& bad : {garbage, huge}) {
    TempConfigFolder config;
    writeRaw(config.iniPath(), bad);
    {
      QSettingsStore store;
      EXPECT_EQ(store.GetSetting("Airlume", "Startup", "Speed", "1"), "1");
      EXPECT_EQ(readAll(config.iniPath()), bad) << "a read must leave the file as it was";
      store.SaveSetting("Airlume", "Startup", "Speed", "5");
      EXPECT_EQ(store.GetSetting("Airlume", "Startup", "Speed", "1"), "5");
    }
    const QStringList aside =
        QDir(config.path() + "/Airlume").entryList({"Airlume.ini.damaged-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1) << "the damaged file is kept";
    EXPECT_EQ(readAll(config.path() + "/Airlume/" + aside.first()), bad);
    QSettingsStore reopened;
    EXPECT_EQ(reopened.GetSetting("Airlume", "Startup", "Speed", "1"), "5");
  }
}

TEST(QSettingsStore, AValueCutShortInsideItsQuotesReadsAsFarAsItGoes) {
  TempConfigFolder config;
  writeRaw(config.iniPath(), "[Startup]\nSpeed=9\nMessage=\"unterminated");
  QSettingsStore store;
  EXPECT_EQ(store.GetSetting("Airlume", "Startup", "Message", "1"), "unterminated");
  store.SaveSetting("Airlume", "Startup", "Speed", "5");
  EXPECT_EQ(QSettingsStore().GetSetting("Airlume", "Startup", "Message", "1"), "unterminated");
  EXPECT_TRUE(QDir(config.path() + "/Airlume").entryList({"Airlume.ini.damaged-*"}).isEmpty())
      << "a file that parses is not set aside";
}

TEST(QSettingsStore, AWriteReplacesTheFileWholeAndLeavesNoTemporaryFiles) {
  TempConfigFolder config;
  QSettingsStore store;
  for (int i = 0; i < 50; ++i)
    store.SaveSetting("Airlume", "Startup", "Message", std::to_string(i));
  const QStringList files = QDir(config.path() + "/Airlume").entryList(QDir::Files);
  EXPECT_EQ(files, QStringList{"Airlume.ini"});
  EXPECT_EQ(QSettingsStore().GetSetting("Airlume", "Startup", "Message", "1"), "49");
}

TEST(QSettingsStore, ValuesWrittenTogetherAllLandAfterADamagedFileIsKeptAside) {
  TempConfigFolder config;
  const QString path = QSettingsStore::filePath("Airlume");
  writeRaw(path, QByteArray("\xff\xfe\x00garbage", 10));
  QSettingsStore store;
  const std::array<SettingWrite, 3> writes = {{{"Startup", "Message", "Hello, world"},
                                               {"Startup", "Speed", "7"},
                                               {"System", "SetReg", "2"}}};
  store.SaveSettings("Airlume", writes);

  QSettingsStore other;
  for (const SettingWrite& write : writes)
    EXPECT_EQ(other.GetSetting("Airlume", write.section, write.key, ""), write.value);
  const QStringList aside =
      QDir(config.path() + "/Airlume").entryList({"Airlume.ini.damaged-*"}, QDir::Files);
  EXPECT_EQ(aside.size(), 1);
}

TEST(QSettingsStore, ReadsAFileBehindAByteOrderMark) {
  TempConfigFolder config;
  writeRaw(config.iniPath(), "\xEF\xBB\xBF[Startup]\nMessage=Caf\xC3\xA9\nSpeed=7\n");
  QSettingsStore store;
  EXPECT_EQ(store.GetSetting("Airlume", "Startup", "Speed", "1"), "7");
  EXPECT_EQ(store.GetSetting("Airlume", "Startup", "Message", ""), "Caf\xC3\xA9");
  store.SaveSetting("Airlume", "Startup", "Speed", "8");
  EXPECT_EQ(QSettingsStore().GetSetting("Airlume", "Startup", "Message", ""), "Caf\xC3\xA9");
}

TEST(QSettingsStore, BytesThatAreNotUtf8AreKeptAsideBeforeTheFirstWrite) {
  TempConfigFolder config;
  const QByteArray latin1 = "[Startup]\nMessage=Caf\xE9 cr\xE8me\nFontName=Cour\xEE\n";
  writeRaw(config.iniPath(), latin1);
  ::testing::internal::CaptureStderr();
  {
    QSettingsStore store;
    store.GetSetting("Airlume", "Startup", "Message", "");
    EXPECT_EQ(readAll(config.iniPath()), latin1) << "a read must leave the file as it was";
    store.SaveSetting("Airlume", "Startup", "Speed", "5");
    store.SaveSetting("Airlume", "Startup", "Speed", "6");
  }
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  const QStringList aside =
      QDir(config.path() + "/Airlume").entryList({"Airlume.ini.damaged-*"}, QDir::Files);
  ASSERT_EQ(aside.size(), 1);
  EXPECT_EQ(readAll(config.path() + "/Airlume/" + aside.first()), latin1);
}

TEST(QSettingsStore, ADamagedFileThatCannotBeSetAsideStaysWholeAndALaterWriteFailureIsStillTold) {
  TempConfigFolder config;
  // A file name this long leaves no room for the time-stamped name a damaged file is kept
  // under, while the file, its lock and its temporary files still fit: the rename fails, also
  // for root.
  const std::string application(240, 'A');
  const QString ini = QSettingsStore::filePath(application);
  const QString folder = QFileInfo(ini).absolutePath();
  const QByteArray latin1 = "[Startup]\nMessage=Caf\xE9\n";
  writeRaw(ini, latin1);
  ::testing::internal::CaptureStderr();
  {
    QSettingsStore store;
    EXPECT_EQ(store.GetSetting(application, "Startup", "Message", "1"), "1");
    store.SaveSetting(application, "Startup", "Speed", "5");
    store.SaveSetting(application, "Startup", "Speed", "6");
    EXPECT_EQ(store.GetSetting(application, "Startup", "Speed", "1"), "1");
    EXPECT_EQ(readAll(ini), latin1) << "a damaged file that cannot be moved is not written over";
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QFileInfo(ini).fileName()});

    // The folder becomes a plain file, so no later write can be made.
    QDir(folder).removeRecursively();
    writeRaw(folder, "x");
    store.SaveSetting(application, "Startup", "Speed", "7");
    store.SaveSetting(application, "Startup", "Speed", "8");
  }
  const QStringList said = QString::fromStdString(::testing::internal::GetCapturedStderr())
                               .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(said.size(), 3) << said.join('\n').toStdString();
  EXPECT_TRUE(said[0].contains("using defaults")) << said[0].toStdString();
  EXPECT_TRUE(said[1].contains("nor set aside")) << said[1].toStdString();
  EXPECT_TRUE(said[2].contains("could not write")) << said[2].toStdString();
}

TEST(QSettingsStore, AStoreThatCannotBeWrittenTellsEachFailureOnceAndSavesTheChangesWhenItCan) {
  TempConfigFolder config;
  // A config folder that is a plain file: no folder can be made in it, also for root.
  const QString plainFile = config.path() + "/not-a-folder";
  writeRaw(plainFile, "x");
  qputenv("XDG_CONFIG_HOME", plainFile.toUtf8());
  const std::string ini = (plainFile + "/Airlume/Airlume.ini").toStdString();
  std::vector<WriteFailure> told;
  ::testing::internal::CaptureStderr();
  {
    QSettingsStore store;
    store.setWriteFailureListener([&](const WriteFailure& failure) { told.push_back(failure); });
    for (const char* message : {"G", "Ga", "Gat", "Gate"})
      store.SaveSetting("Airlume", "Startup", "Message", message);
    store.SaveSetting("Airlume", "Startup", "Speed", "9");
    ASSERT_EQ(told.size(), 1u) << "one failure, however many writes it spoils";
    EXPECT_EQ(told[0].file, ini);
    EXPECT_EQ(told[0].cause,
              "the folder " + (plainFile + "/Airlume").toStdString() + " cannot be created");
    EXPECT_EQ(store.GetSetting("Airlume", "Startup", "Message", "1"), "Gate")
        << "what could not be written still reads back";

    // The file gives way to a folder: the next write succeeds, with what was lost before.
    QFile::remove(plainFile);
    store.SaveSetting("Airlume", "Startup", "Clock", "0");
    EXPECT_EQ(told.size(), 1u) << "a write that succeeds is no failure";
    QSettingsStore reader;
    EXPECT_EQ(reader.GetSetting("Airlume", "Startup", "Message", "1"), "Gate");
    EXPECT_EQ(reader.GetSetting("Airlume", "Startup", "Speed", "1"), "9");
    EXPECT_EQ(reader.GetSetting("Airlume", "Startup", "Clock", "1"), "0");

    // Failing again after that success is a new failure.
    QDir(plainFile).removeRecursively();
    writeRaw(plainFile, "x");
    store.SaveSetting("Airlume", "Startup", "Clock", "1");
    store.SaveSetting("Airlume", "Startup", "Clock", "0");
    EXPECT_EQ(told.size(), 2u);
  }
  const QStringList said = QString::fromStdString(::testing::internal::GetCapturedStderr())
                               .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(said.size(), 2) << said.join('\n').toStdString();
  EXPECT_EQ(said[0].toStdString(),
            "skyfare: could not write settings file " + ini + ": " + told[0].cause);
}

TEST(QSettingsStore, AByteOrderMarkThatCannotBeDroppedIsToldInOneLine) {
  TempConfigFolder config;
  const QByteArray text = "\xEF\xBB\xBF[Startup]\nSpeed=7\n";
  writeRaw(config.iniPath(), text);
  // Another writer holds the store's lock for longer than the rewrite waits.
  QLockFile held(config.iniPath() + ".lock");
  ASSERT_TRUE(held.tryLock(0));
  ::testing::internal::CaptureStderr();
  {
    QSettingsStore store;
    EXPECT_EQ(store.GetSetting("Airlume", "Startup", "Speed", "1"), "1");
    store.GetSetting("Airlume", "Startup", "Message", "1");
  }
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("settings file " + config.iniPath().toStdString() +
                      " begins with a byte-order mark that could not be removed"),
            std::string::npos)
      << said;
  EXPECT_EQ(readAll(config.iniPath()), text) << "a read leaves the file as it was";
}

TEST(QSettingsStore, AnEmptyLockLeftByADeadWriterDoesNotHoldAWrite) {
  TempConfigFolder config;
  writeRaw(config.iniPath() + ".lock", "");
  QElapsedTimer watchdog;
  watchdog.start();
  QSettingsStore store;
  store.SaveSetting("Airlume", "Startup", "Speed", "5");
  EXPECT_LT(watchdog.elapsed(), 10000) << "the write waited for the dead lock to age";
  EXPECT_EQ(QSettingsStore().GetSetting("Airlume", "Startup", "Speed", "1"), "5");
  EXPECT_FALSE(QFile::exists(config.iniPath() + ".lock"));
}

TEST(QSettingsStore, ALiveWritersLockIsNeverTakenAway) {
  TempConfigFolder config;
  QDir().mkpath(config.path() + "/Airlume");
  QLockFile held(config.iniPath() + ".lock");
  ASSERT_TRUE(held.tryLock(0));
  QThread::msleep(300);  // older than any age a dead lock is judged by
  clearDeadLock(config.iniPath());
  EXPECT_TRUE(QFile::exists(config.iniPath() + ".lock"));
  QLockFile other(config.iniPath() + ".lock");
  EXPECT_FALSE(other.tryLock(0));
}

TEST(QSettingsStore, AWriteRemovesOldTemporaryFilesOfDeadWriters) {
  TempConfigFolder config;
  const QString folder = config.path() + "/Airlume/";
  const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
  for (const char* name : {"Airlume.ini.Ab12Cd", "Airlume.ini.xYz789", "Airlume.ini.damaged-1",
                           "Airlume.ini.fresh1", "notes.txt"}) {
    writeRaw(folder + name, "x");
    if (QString(name) != "Airlume.ini.fresh1") {
      QFile file(folder + name);
      file.open(QIODevice::ReadWrite);
      file.setFileTime(hourAgo, QFileDevice::FileModificationTime);
    }
  }
  QSettingsStore().SaveSetting("Airlume", "Startup", "Speed", "5");
  QStringList left = QDir(folder).entryList(QDir::Files);
  left.sort();
  EXPECT_EQ(left, (QStringList{"Airlume.ini", "Airlume.ini.damaged-1", "Airlume.ini.fresh1",
                               "notes.txt"}));
}

TEST(QSettingsStore, WithoutHomeTheAccountsHomeFolderIsUsed) {
  const QByteArray home = qgetenv("HOME");
  const QByteArray config = qgetenv("XDG_CONFIG_HOME");
  qunsetenv("HOME");
  qunsetenv("XDG_CONFIG_HOME");
  const QString path = QSettingsStore::filePath("Airlume");
  qputenv("HOME", home);
  if (!config.isEmpty())
    qputenv("XDG_CONFIG_HOME", config);
  EXPECT_FALSE(path.startsWith("//")) << path.toStdString();
  EXPECT_TRUE(path.endsWith("/.config/Airlume/Airlume.ini")) << path.toStdString();
}

}  // namespace
}  // namespace skyfare
