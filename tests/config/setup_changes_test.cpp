#include <QAbstractItemView>
#include <QFocusEvent>
#include <QLabel>
#include <QTest>

#include "tests/config/setup_fixture.h"

namespace skyfare::testing {
namespace {

class SetupChanges : public SetupTest {
 protected:
  void SetUp() override {
    SetRegistry(disk_, kDataFolder);
    open();
    store_.writes.clear();
  }

  // Picks an entry the way a user does: opens the list and clicks the entry.
  void pick(const char* listName, int position) {
    auto* list = control<QComboBox>(listName);
    list->showPopup();
    QAbstractItemView* view = list->view();
    const QRect entry = view->visualRect(view->model()->index(position, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, entry.center());
  }

  void leave(QWidget* widget) {
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(widget, &focusOut);
  }

  using Writes = std::vector<std::string>;
};

TEST_F(SetupChanges, CheckBoxesWriteOneWhenTickedAndZeroWhenNot) {
  for (const auto& [name, key] :
       std::vector<std::pair<const char*, const char*>>{{"chkProp", "Prop"},
                                                        {"chkClock", "Clock"},
                                                        {"chkLogo", "LogoChecked"},
                                                        {"chkMessage", "MessageChecked"},
                                                        {"chkPowerSave", "PwrSave"}}) {
    auto* box = control<QCheckBox>(name);
    const bool wasTicked = box->isChecked();
    store_.writes.clear();
    box->click();
    box->click();
    const std::string first = std::string(key) + (wasTicked ? "=0" : "=1");
    const std::string second = std::string(key) + (wasTicked ? "=1" : "=0");
    EXPECT_EQ(store_.writes, (Writes{first, second})) << name;
  }
}

TEST_F(SetupChanges, SpeedSensitivityAndIntervalWriteWhileTheThumbIsDragged) {
  for (const auto& [bar, box, key] : std::vector<std::tuple<const char*, const char*, Key>>{
           {"hsbSpeed", "txtSpeed", Key::Speed},
           {"hsbMouseS", "txtMouseS", Key::MouseSens},
           {"hsbFastJet", "txtFastJet", Key::SecDelay}}) {
    auto* slider = control<QScrollBar>(bar);
    slider->setSliderDown(true);
    slider->setSliderPosition(slider->minimum() + 7);
    EXPECT_EQ(shown(box), std::to_string(slider->minimum() + 7)) << bar;
    EXPECT_EQ(stored(key), std::to_string(slider->minimum() + 7)) << bar;
    slider->setSliderPosition(slider->minimum() + 9);
    EXPECT_EQ(stored(key), std::to_string(slider->minimum() + 9)) << bar;
    slider->setSliderDown(false);
  }
}

TEST_F(SetupChanges, VolumeIsWrittenOnlyWhenTheThumbIsReleased) {
  auto* volume = control<QScrollBar>("hsbVolume");
  volume->setSliderDown(true);
  volume->setSliderPosition(-100);
  volume->setSliderPosition(-90);
  EXPECT_EQ(stored(Key::Volume), "-1533");
  volume->setSliderDown(false);
  EXPECT_EQ(store_.writes, (Writes{"Volume=-90"}));

  volume->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(stored(Key::Volume), "-89") << "an arrow click writes at once";
}

TEST_F(SetupChanges, TypedFontSizeIsWrittenAfterEveryKeystrokeAndKeepsThePosition) {
  auto* size = control<QComboBox>("cboFontSize");
  size->lineEdit()->clear();
  store_.writes.clear();
  QTest::keyClick(size, Qt::Key_2);
  QTest::keyClick(size, Qt::Key_5);
  leave(size);
  EXPECT_EQ(store_.writes, (Writes{"FontSize=2", "FontSize=25"}));
  EXPECT_EQ(stored(Key::SelectedFontSize), "2");
}

TEST_F(SetupChanges, TypingAListEntryIsNotPickingIt) {
  auto* size = control<QComboBox>("cboFontSize");
  size->lineEdit()->clear();
  store_.writes.clear();
  QTest::keyClicks(size, "40");
  QTest::keyClick(size, Qt::Key_Return);
  leave(size);
  EXPECT_EQ(store_.writes, (Writes{"FontSize=4", "FontSize=40"}));
}

TEST_F(SetupChanges, PickedFontSizeWritesPositionThenText) {
  pick("cboFontSize", 4);
  EXPECT_EQ(store_.writes, (Writes{"SelectedFontSize=4", "FontSize=40"}));
}

TEST_F(SetupChanges, SoundOffIsWrittenOnlyWhenAnEntryIsPicked) {
  auto* soundOff = control<QComboBox>("cboSoundOff");
  soundOff->lineEdit()->clear();
  QTest::keyClicks(soundOff, "45");
  leave(soundOff);
  QTest::keyClicks(soundOff, "7");
  QTest::keyClick(soundOff, Qt::Key_Return);
  EXPECT_EQ(store_.writes, Writes{});

  pick("cboSoundOff", 10);
  EXPECT_EQ(store_.writes, (Writes{"SoundOff=45"}));
}

TEST_F(SetupChanges, PickedFontWritesPositionThenNameAndRedrawsTheSample) {
  pick("cboFontsScreen", 2);
  EXPECT_EQ(store_.writes, (Writes{"SelectedFont=2", "FontName=DejaVu Sans"}));
  const QFont sample = control<QLabel>("lblSample")->font();
  EXPECT_EQ(sample.family(), "DejaVu Sans");
  EXPECT_DOUBLE_EQ(sample.pointSizeF(), 13.5);

  pick("cboFontSize", 10);
  EXPECT_DOUBLE_EQ(control<QLabel>("lblSample")->font().pointSizeF(), 13.5)
      << "the sample shows the face, never the size";
}

TEST_F(SetupChanges, TypedTextsAreStoredAsTheyStandEmptyIncluded) {
  auto* message = control<QLineEdit>("txtMessage");
  message->clear();
  QTest::keyClicks(message, "Hi");
  message->selectAll();
  QTest::keyClick(message, Qt::Key_Backspace);

  auto* clockSize = control<QLineEdit>("txtFontSize");
  clockSize->clear();
  QTest::keyClicks(clockSize, "x9");
  EXPECT_EQ(store_.writes,
            (Writes{"Message=H", "Message=Hi", "Message=", "FontClock=x", "FontClock=x9"}));
}

}  // namespace
}  // namespace skyfare::testing
