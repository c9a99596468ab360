#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "config/run_configure.h"
#include "tests/config/setup_fixture.h"

namespace skyfare::testing {
namespace {

// Makes the config folder a plain file, in which no folder can be made, also for root.
void makePlainFile(const QString& path) {
  QDir(path).removeRecursively();
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

// The dialog on a store that cannot be written.
class SetupSaveFailure : public SetupTest {
 protected:
  void SetUp() override {
    makePlainFile(configFolder_);
    qputenv("XDG_CONFIG_HOME", configFolder_.toUtf8());
  }

  const QString configFolder_ = config_.path() + "/not-a-folder";
  const QString expectedText_ = "Skyfare cannot save your settings in " + configFolder_ +
                                "/Airlume/Airlume.ini: the folder " + configFolder_ +
                                "/Airlume cannot be created.";
};

TEST_F(SetupSaveFailure, TheDialogSaysOnceThatChangesCannotBeSavedAndStaysUsable) {
  open();
  EXPECT_TRUE(messages_.empty()) << "the box waits until the failed change has been handled";
  QCoreApplication::processEvents();
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0].title, "Skyfare 1");
  EXPECT_EQ(messages_[0].icon, QMessageBox::Warning);
  EXPECT_EQ(messages_[0].text, expectedText_);

  // Each change handled to its end, box included, before the next.
  auto* message = control<QLineEdit>("txtMessage");
  message->clear();
  for (const char letter : std::string("Gate 4")) {
    QTest::keyClick(message, letter);
    QCoreApplication::processEvents();
  }
  control<QScrollBar>("hsbSpeed")->setValue(40);
  QCoreApplication::processEvents();
  control<QCheckBox>("chkClock")->click();
  QCoreApplication::processEvents();
  EXPECT_EQ(messages_.size(), 1u) << "one box for the failure, not one for every change";
  EXPECT_EQ(shown("txtMessage"), "Gate 4");
  EXPECT_EQ(shown("txtSpeed"), "40");
  EXPECT_EQ(shown("chkClock"), "unticked");
}

TEST(RunConfigure, AStoreThatCannotBeWrittenIsToldInOneMessageBoxOverTheDialog) {
  TempConfigFolder config;
  const QString configFolder = config.path() + "/not-a-folder";
  makePlainFile(configFolder);
  qputenv("XDG_CONFIG_HOME", configFolder.toUtf8());
  QSettingsStore store;

  struct Seen {
    QString title;
    QString text;
    bool overTheDialog = false;
  };
  std::vector<Seen> boxes;
  bool typed = false;
  QTimer poll;
  poll.callOnTimeout([&] {
    skyfare::Setup* setup = nullptr;
    QMessageBox* box = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* found = qobject_cast<skyfare::Setup*>(window); found && found->isVisible())
        setup = found;
      if (auto* found = qobject_cast<QMessageBox*>(window); found && found->isVisible())
        box = found;
    }
    if (box) {
      boxes.push_back({box->windowTitle(), box->text(), box->parentWidget() == setup});
      box->button(QMessageBox::Ok)->click();
    } else if (setup && !boxes.empty() && !typed) {
      QTest::keyClicks(setup->findChild<QLineEdit*>(QStringLiteral("txtMessage")), "Gate 4");
      typed = true;
    } else if (setup && typed) {
      setup->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    }
  });
  poll.start(std::chrono::milliseconds(50));
  const EventLoopWatchdog watchdog;

  EXPECT_EQ(runConfigure(store, "/opt/skyfare/"), 0);
  EXPECT_FALSE(watchdog.fired());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, "Skyfare 1");
  EXPECT_TRUE(boxes[0].text.contains(configFolder + "/Airlume/Airlume.ini"))
      << boxes[0].text.toStdString();
  EXPECT_TRUE(boxes[0].overTheDialog);
}

}  // namespace
}  // namespace skyfare::testing
