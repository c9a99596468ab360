#include "chooser/picture_chooser.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <vector>

#include "chooser/folder_listing.h"
#include "chooser/path_rules.h"
#include "settings/qsettings_store.h"
#include "tests/chooser/print_qstring.h"
#include "tests/support/temp_config_folder.h"

namespace skyfare {
namespace {

class PictureChooserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"sky.bmp", "SEA.BMP", "notes.txt", ".hidden.bmp", "pic.gif",
                             "photo.JPG", "Pics/deep.bmp"}) {
      QDir(folder_.path()).mkpath(QFileInfo(folder_.filePath(name)).path());
      QFile(folder_.filePath(name)).open(QIODevice::WriteOnly);
    }
    QDir(folder_.path()).mkdir(".hiddenfolder");
    QDir::setCurrent(folder_.path());
    writeSetting(store_, Key::BMPFileName, "old.bmp");
    writeSetting(store_, Key::LogoFileName, "old-logo.bmp");
  }

  PictureChooser& open(const ChooserConfig& config = GetFile()) {
    chooser_ = std::make_unique<PictureChooser>(
        store_, config, [this](QWidget*, const MessageBoxText& box) { messages_.push_back(box); });
    chooser_->show();
    return *chooser_;
  }

  template <typename T>
  T* control(const char* name) {
    return chooser_->findChild<T*>(QString::fromLatin1(name));
  }

  QStringList listed() {
    QStringList names;
    auto* files = control<QListWidget>("filFiles");
    for (int row = 0; row < files->count(); ++row) names << files->item(row)->text();
    return names;
  }

  void clickFile(const QString& name) {
    auto* files = control<QListWidget>("filFiles");
    const QList<QListWidgetItem*> found = files->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {},
                      files->visualItemRect(found.front()).center());
  }

  // A user's double click: a first click, then the second that makes it a double one.
  static void doubleClick(QAbstractItemView* view, const QRect& item) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, item.center());
  }

  void pressOk() { control<QPushButton>("cmdOK")->click(); }

  testing::TempConfigFolder config_;
  QTemporaryDir folder_;
  QSettingsStore store_;
  std::vector<MessageBoxText> messages_;
  std::unique_ptr<PictureChooser> chooser_;
};

TEST_F(PictureChooserTest, OpensAtTheWorkingFolderWithBitmapsListed) {
  open();
  EXPECT_EQ(control<QLabel>("lblDirName")->text(), QDir::currentPath());
  EXPECT_EQ(control<QComboBox>("cboFileType")->currentIndex(), 0);
  EXPECT_TRUE(control<QLineEdit>("txtFileName")->text().isEmpty());
  EXPECT_EQ(control<QComboBox>("drvDrive")->currentText(),
            volumeOf(QDir::currentPath(), volumeRoots()));

  auto* folders = control<QTreeWidget>("dirDirectory");
  QTreeWidgetItem* current = folders->currentItem();
  ASSERT_NE(current, nullptr);
  ASSERT_EQ(current->childCount(), 1) << "hidden folders stay out";
  EXPECT_EQ(current->child(0)->text(0), "Pics");
  EXPECT_EQ(folders->topLevelItem(0)->text(0), "/");
}

TEST_F(PictureChooserTest, GoneWorkingFolderGivesWayToTheHomeFolder) {
  QDir(folder_.path()).mkdir("gone");
  QDir::setCurrent(folder_.filePath("gone"));
  QDir(folder_.path()).rmdir("gone");
  open();
  EXPECT_EQ(chooser_->currentFolder(), QDir::homePath());
  EXPECT_EQ(control<QLabel>("lblDirName")->text(), QDir::homePath());
}

TEST_F(PictureChooserTest, EachFileTypeListsItsOrdinaryFilesIgnoringCase) {
  open();
  const std::vector<QStringList> expected = {
      {"SEA.BMP", "sky.bmp"},
      {"pic.gif"},
      {"photo.JPG"},
      {"notes.txt", "photo.JPG", "pic.gif", "SEA.BMP", "sky.bmp"},
  };
  auto* types = control<QComboBox>("cboFileType");
  ASSERT_EQ(types->count(), 4);
  for (int position = 0; position < 4; ++position) {
    types->setCurrentIndex(position);
    EXPECT_EQ(listed(), expected[static_cast<size_t>(position)])
        << types->currentText().toStdString();
  }
}

TEST_F(PictureChooserTest, OkStoresTheFolderAndFileOrTheTextAsTyped) {
  struct Row {
    const char* clicked;
    const char* typed;
    std::string stored;
  };
  const std::string inFolder = folder_.filePath("sky.bmp").toStdString();
  for (const Row& row :
       {Row{"sky.bmp", nullptr, inFolder}, Row{"sky.bmp", "sea.bmp", "sea.bmp"},
        Row{"sky.bmp", "SKY.BMP", "SKY.BMP"}, Row{nullptr, "/nowhere/x.bmp", "/nowhere/x.bmp"}}) {
    open();
    if (row.clicked)
      clickFile(row.clicked);
    if (row.typed)
      control<QLineEdit>("txtFileName")->setText(row.typed);
    pressOk();
    EXPECT_EQ(chooser_->result(), QDialog::Accepted);
    EXPECT_EQ(readSetting(store_, Key::BMPFileName), row.stored);
  }
  EXPECT_TRUE(messages_.empty());
}

TEST_F(PictureChooserTest, EmptyNameSaysSoAndWritesNothing) {
  open();
  pressOk();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, "You must first select a file!");
  EXPECT_EQ(messages_[0].title, "Skyfare 1");
  EXPECT_TRUE(chooser_->isVisible());
  EXPECT_EQ(readSetting(store_, Key::BMPFileName), "old.bmp");
}

TEST_F(PictureChooserTest, DoubleClickStoresAndClosesInOneStep) {
  open(GetLogo());
  auto* files = control<QListWidget>("filFiles");
  doubleClick(files, files->visualItemRect(files->item(0)));
  EXPECT_FALSE(chooser_->isVisible());
  EXPECT_EQ(readSetting(store_, Key::LogoFileName), folder_.filePath("SEA.BMP").toStdString());
  EXPECT_EQ(readSetting(store_, Key::BMPFileName), "old.bmp");
}

TEST_F(PictureChooserTest, CancelAndTheCloseBoxWriteNothing) {
  open();
  clickFile("sky.bmp");
  control<QPushButton>("cmdCancel")->click();
  open();
  clickFile("sky.bmp");
  chooser_->close();
  EXPECT_EQ(chooser_->result(), QDialog::Rejected);
  EXPECT_EQ(readSetting(store_, Key::BMPFileName), "old.bmp");
}

TEST_F(PictureChooserTest, DoubleClickedFolderBecomesCurrent) {
  open();
  auto* folders = control<QTreeWidget>("dirDirectory");
  QTreeWidgetItem* pics = folders->currentItem()->child(0);
  doubleClick(folders, folders->visualItemRect(pics));
  EXPECT_EQ(chooser_->currentFolder(), folder_.filePath("Pics"));
  EXPECT_EQ(control<QLabel>("lblDirName")->text(), folder_.filePath("Pics"));
  EXPECT_EQ(listed(), QStringList{"deep.bmp"});
}

TEST_F(PictureChooserTest, VolumeThatCannotBeEnteredSaysDriveErrorAndGoesBack) {
  open();
  auto* drives = control<QComboBox>("drvDrive");
  const QString before = drives->currentText();
  drives->addItem("/no/such/volume", "/no/such/volume");
  drives->setFocus();
  QTest::keyClick(drives, Qt::Key_End);

  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].text, "Drive error!");
  EXPECT_EQ(messages_[0].title, "Error");
  EXPECT_EQ(messages_[0].icon, QMessageBox::Warning);
  EXPECT_EQ(drives->currentText(), before);
  EXPECT_EQ(chooser_->currentFolder(), folder_.path());
}

}  // namespace
}  // namespace skyfare
