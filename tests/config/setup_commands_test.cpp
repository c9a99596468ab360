#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "chooser/picture_chooser.h"
#include "config/run_configure.h"
#include "tests/config/setup_fixture.h"

namespace skyfare::testing {
namespace {

class SetupCommands : public SetupTest {
 protected:
  void SetUp() override {
    SetRegistry(disk_, kDataFolder);
    open();
    store_.writes.clear();
  }

  template <typename T>
  static T* in(QDialog& dialog, const char* name) {
    return dialog.findChild<T*>(QString::fromLatin1(name));
  }
};

TEST_F(SetupCommands, BackgroundOptionsWriteTheirNumberAndSetSelectBackground) {
  auto* selectBackground = control<QPushButton>("cmdSelectBG");
  for (const auto& [option, value, enabled] :
       std::vector<std::tuple<const char*, const char*, bool>>{
           {"optBakGrnd1", "2", false}, {"optBakGrnd0", "1", false}, {"optBakGrnd2", "3", true}}) {
    control<QRadioButton>(option)->click();
    EXPECT_EQ(stored(Key::BackGround), value) << option;
    EXPECT_EQ(selectBackground->isEnabled(), enabled) << option;
  }
}

TEST_F(SetupCommands, OkAndTheCloseBoxEndTheProgramWritingNothing) {
  control<QPushButton>("cmdOK")->click();
  EXPECT_EQ(endings_, 1);
  setup_->close();
  EXPECT_EQ(endings_, 2);
  EXPECT_TRUE(store_.writes.empty());
}

TEST_F(SetupCommands, AboutShowsTheProgramTitleAndVersion) {
  control<QPushButton>("cmdAbout")->click();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].title, "Skyfare 1");
  EXPECT_TRUE(messages_[0].text.contains(QStringLiteral(SKYFARE_VERSION)))
      << messages_[0].text.toStdString();
}

TEST_F(SetupCommands, OnlineHelpOpensTheSupportPageOfTheDataFolder) {
  control<QPushButton>("cmdHelp")->click();
  ASSERT_EQ(pages_.size(), 1);
  EXPECT_EQ(QUrl(pages_[0]).toLocalFile(), "/opt/skyfare/support.htm");
  EXPECT_TRUE(messages_.empty());
}

TEST_F(SetupCommands, OnlineHelpWithoutABrowserShowsWhereTheSupportPageIs) {
  pageOpens_ = false;
  ::testing::internal::CaptureStderr();
  control<QPushButton>("cmdHelp")->click();
  EXPECT_EQ(::testing::internal::GetCapturedStderr(),
            "skyfare: no browser could be opened for the support page "
            "/opt/skyfare/support.htm\n");
  EXPECT_EQ(pages_.size(), 1) << "the page is still offered to the platform first";
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].title, "Skyfare 1");
  EXPECT_EQ(messages_[0].text,
            "No browser could be opened for the support page: /opt/skyfare/support.htm");
}

TEST_F(SetupCommands, ChoosersStoreThePathAndThePathBoxesShowWhatIsStored) {
  QTemporaryDir pictures;
  QFile(pictures.filePath("sky.bmp")).open(QIODevice::WriteOnly);
  QDir::setCurrent(pictures.path());

  std::vector<QString> titles;
  onModal_ = [&](QDialog& chooser) {
    titles.push_back(chooser.windowTitle());
    EXPECT_TRUE(in<QLineEdit>(chooser, "txtFileName")->text().isEmpty()) << "a fresh chooser";
    auto* files = in<QListWidget>(chooser, "filFiles");
    files->setCurrentRow(0);
    in<QPushButton>(chooser, "cmdOK")->click();
  };
  control<QPushButton>("cmdSelectLogo")->click();
  control<QPushButton>("cmdSelectBG")->click();

  const std::string expected = pictures.filePath("sky.bmp").toStdString();
  EXPECT_EQ(stored(Key::LogoFileName), expected);
  EXPECT_EQ(shown("txtLogo"), expected);
  EXPECT_EQ(stored(Key::BMPFileName), expected);
  EXPECT_EQ(shown("txtBGFile"), expected);
  EXPECT_EQ(titles, (std::vector<QString>{GetLogo().title, GetFile().title}));
}

TEST_F(SetupCommands, CancelledChooserLeavesPathAndPathBoxUnchanged) {
  onModal_ = [&](QDialog& chooser) {
    in<QLineEdit>(chooser, "txtFileName")->setText("sea.bmp");
    in<QPushButton>(chooser, "cmdCancel")->click();
  };
  control<QPushButton>("cmdSelectBG")->click();
  EXPECT_EQ(stored(Key::BMPFileName), "/opt/skyfare/city lights.bmp");
  EXPECT_EQ(shown("txtBGFile"), "/opt/skyfare/city lights.bmp");
  EXPECT_TRUE(store_.writes.empty());
}

TEST_F(SetupCommands, ReopeningShowsEveryChangeMadeBefore) {
  control<QRadioButton>("optBakGrnd0")->click();
  control<QCheckBox>("chkMessage")->click();
  control<QScrollBar>("hsbSpeed")->setValue(40);
  control<QLineEdit>("txtMessage")->setText({});
  QTest::keyClicks(control<QLineEdit>("txtMessage"), "Gate 4");
  control<QPushButton>("cmdOK")->click();

  open();
  EXPECT_EQ(shown("optBakGrnd"), "0");
  EXPECT_EQ(shown("chkMessage"), "ticked");
  EXPECT_EQ(shown("txtSpeed"), "40");
  EXPECT_EQ(shown("txtMessage"), "Gate 4");
  EXPECT_FALSE(control<QPushButton>("cmdSelectBG")->isEnabled());
}

TEST(RunConfigure, ShowsTheDialogUntilOkEndsTheProgram) {
  TempConfigFolder config;
  QSettingsStore store;
  QString title;
  QTimer::singleShot(0, [&] {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* setup = qobject_cast<skyfare::Setup*>(window); setup && setup->isVisible()) {
        title = setup->windowTitle();
        setup->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
      }
    }
  });
  const EventLoopWatchdog watchdog;

  EXPECT_EQ(runConfigure(store, "/opt/skyfare/"), 0);
  EXPECT_FALSE(watchdog.fired());
  EXPECT_EQ(title, "Skyfare Control Box");
  EXPECT_FALSE(needsFirstRunDefaults(store));
}

}  // namespace
}  // namespace skyfare::testing
