#include "settings/qsettings_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QThread>
#include <fstream>

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
  TempConfigFolder config;
  QSettingsStore store;
  store.SaveSetting("Airlume", "Startup", "Message", "first");
  EXPECT_EQ(store.GetSetting("Airlume", "Startup", "Message", "1"), "first");
  writeRaw(config.iniPath(), "[Startup]\nMessage=second text\n");
  EXPECT_EQ(store.GetSetting("Airlume", "Startup", "Message", "1"), "second text");
}

TEST(QSettingsStore, GarbageOrHugeFilesReadAsMissingAndAreKeptAsideBeforeTheFirstWrite) {
  QByteArray garbage;
  for (int i = 0; i < 4096; ++i) garbage.append(static_cast<char>((i * 7919) % 256));
  const QByteArray huge = QByteArray("[Startup]\nSpeed=9\n") + QByteArray(3 << 20, 'x');
  const QByteArray truncated = "[Startup]\nMessage=\"unterminated";
  for (const QByteArray& bad : {garbage, huge, truncated}) {
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
    if (bad == truncated && aside.isEmpty())
      continue;  // QSettings may parse it leniently
    ASSERT_EQ(aside.size(), 1) << "the damaged file is kept";
    EXPECT_EQ(readAll(config.path() + "/Airlume/" + aside.first()), bad);
    QSettingsStore reopened;
    EXPECT_EQ(reopened.GetSetting("Airlume", "Startup", "Speed", "1"), "5");
  }
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

}  // namespace
}  // namespace skyfare
