#include <QLabel>

#include "tests/config/setup_fixture.h"

namespace skyfare::testing {
namespace {

using SetupOpening = SetupTest;

TEST_F(SetupOpening, FreshStoreGetsTheDefaultsBeforeAnythingIsRead) {
  open();
  EXPECT_FALSE(needsFirstRunDefaults(disk_));
  EXPECT_EQ(shown("hsbVolume"), "-1533");
  EXPECT_EQ(shown("txtSpeed"), "3");
  EXPECT_EQ(shown("txtMouseS"), "4");
  EXPECT_EQ(shown("txtFastJet"), "30");
  EXPECT_EQ(shown("chkClock"), "ticked");
  EXPECT_EQ(shown("chkProp"), "ticked");
  EXPECT_EQ(shown("cboSoundOff"), "Never");
  EXPECT_EQ(shown("txtFontSize"), "20");
  EXPECT_EQ(shown("txtMessage"), "Place a Message Here");
  EXPECT_EQ(shown("optBakGrnd"), "2");
  EXPECT_EQ(shown("txtBGFile"), "/opt/skyfare/city lights.bmp");
  EXPECT_EQ(shown("txtLogo"), "/opt/skyfare/SF-Logo.bmp");
  EXPECT_EQ(shown("cboFontSize"), "20");
  // "Arial" is not listed, but the system draws it as a listed family: that one is shown, and
  // the stored position and name stay as they are.
  EXPECT_EQ(shown("cboFontsScreen"), "Liberation Sans");
  EXPECT_EQ(control<QLabel>("lblSample")->font().family(), "Liberation Sans");
  EXPECT_EQ(stored(Key::FontName), "Arial");
  EXPECT_EQ(stored(Key::SelectedFont), "2");
  EXPECT_TRUE(control<QAbstractButton>("cmdSelectBG")->isEnabled());
}

TEST_F(SetupOpening, AChoiceMadeOnAFreshStoreSurvivesTheFirstDisplaySession) {
  open();
  control<QCheckBox>("chkClock")->click();
  setup_.reset();

  QSettingsStore reopened;
  EXPECT_FALSE(needsFirstRunDefaults(reopened));
  initialiseOnFirstRun(reopened, kDataFolder);
  EXPECT_EQ(readSetting(reopened, Key::Clock), "0");
}

TEST_F(SetupOpening, OpeningLeavesANormalisedStoreAsItIs) {
  SetRegistry(disk_, kDataFolder);
  std::vector<std::string> before;
  for (const SettingKey& row : kSettingKeys) before.push_back(stored(row.key));
  open();
  for (size_t i = 0; i < kSettingKeys.size(); ++i)
    EXPECT_EQ(stored(kSettingKeys[i].key), before[i]) << kSettingKeys[i].name;
}

struct StoredValueRow {
  Key key;
  std::string stored;
  const char* controlName;
  std::string shown;
  std::string storedAfterOpening;

  friend void PrintTo(const StoredValueRow& row, std::ostream* out) {
    *out << settingKey(row.key).name << " \"" << row.stored << "\"";
  }
};

class StoredValues : public SetupTest, public ::testing::WithParamInterface<StoredValueRow> {};

// In range: shown and written back normalised. Out of range: clamped for display only. No
// number at all: the control keeps its initial value and the store keeps its text.
TEST_P(StoredValues, AreShownAndNormalisedOnlyWhenInRange) {
  const StoredValueRow& row = GetParam();
  preset(row.key, row.stored);
  open();
  EXPECT_EQ(shown(row.controlName), row.shown);
  EXPECT_EQ(stored(row.key), row.storedAfterOpening);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoredValues,
    ::testing::Values(StoredValueRow{Key::Speed, "05", "txtSpeed", "5", "5"},
                      StoredValueRow{Key::Speed, "2", "txtSpeed", "2", "2"},
                      StoredValueRow{Key::Speed, "500", "txtSpeed", "100", "500"},
                      StoredValueRow{Key::Speed, "fast", "txtSpeed", "2", "fast"},
                      StoredValueRow{Key::MouseSens, "1", "txtMouseS", "2", "1"},
                      StoredValueRow{Key::MouseSens, "21", "txtMouseS", "20", "21"},
                      StoredValueRow{Key::MouseSens, "19.6", "txtMouseS", "20", "20"},
                      StoredValueRow{Key::SecDelay, "0300", "txtFastJet", "300", "300"},
                      StoredValueRow{Key::SecDelay, "29", "txtFastJet", "30", "29"},
                      StoredValueRow{Key::SecDelay, "301", "txtFastJet", "300", "301"},
                      StoredValueRow{Key::Volume, "1", "hsbVolume", "0", "1"},
                      StoredValueRow{Key::Volume, "-3000", "hsbVolume", "-2500", "-3000"},
                      StoredValueRow{Key::Volume, "-02500", "hsbVolume", "-2500", "-2500"},
                      StoredValueRow{Key::Clock, "01", "chkClock", "ticked", "1"},
                      StoredValueRow{Key::Clock, "7", "chkClock", "ticked", "7"},
                      StoredValueRow{Key::PwrSave, "yes", "chkPowerSave", "unticked", "yes"},
                      StoredValueRow{Key::BackGround, "03", "optBakGrnd", "2", "3"},
                      StoredValueRow{Key::BackGround, "1", "optBakGrnd", "0", "1"},
                      StoredValueRow{Key::BackGround, "7", "optBakGrnd", "none", "7"},
                      StoredValueRow{Key::SelectedFont, "01", "cboFontsScreen", "Beta Mono", "1"},
                      StoredValueRow{Key::SelectedFont, "99", "cboFontsScreen", "Zeta Sans", "99"},
                      StoredValueRow{Key::SelectedFontSize, "04", "cboFontSize", "1", "4"},
                      StoredValueRow{Key::SoundOff, "7", "cboSoundOff", "7", "7"},
                      StoredValueRow{Key::FontClock, "big", "txtFontSize", "big", "big"}));

TEST_F(SetupOpening, SelectBackgroundIsUsableExactlyWhileTheChoiceIsCustom) {
  for (const auto& [choice, enabled] : std::vector<std::pair<std::string, bool>>{
           {"1", false}, {"2", false}, {"3", true}, {"3.0", true}, {"Custom", false}}) {
    preset(Key::BackGround, choice);
    open();
    EXPECT_EQ(control<QAbstractButton>("cmdSelectBG")->isEnabled(), enabled) << choice;
  }
}

TEST_F(SetupOpening, StoredTextsWinOverStoredListPositions) {
  preset(Key::FontSize, "25");
  preset(Key::SelectedFontSize, "4");
  preset(Key::FontName, "Liberation Sans");
  preset(Key::SelectedFont, "0");
  for (int opening = 0; opening < 2; ++opening) {
    open();
    EXPECT_EQ(shown("cboFontSize"), "25");
    EXPECT_EQ(shown("cboFontsScreen"), "Liberation Sans");
    EXPECT_EQ(control<QLabel>("lblSample")->font().family(), "Liberation Sans");
    EXPECT_EQ(stored(Key::FontSize), "25");
    EXPECT_EQ(stored(Key::SelectedFontSize), "4");
    EXPECT_EQ(stored(Key::FontName), "Liberation Sans");
    EXPECT_EQ(stored(Key::SelectedFont), "3") << "the position follows the name";
  }
}

TEST_F(SetupOpening, AStoredNameStandingForAnUnlistedFamilyLeavesTheStoredPosition) {
  preset(Key::FontName, "Courier New");
  preset(Key::SelectedFont, "1");
  open();
  EXPECT_EQ(shown("cboFontsScreen"), "Beta Mono");
  EXPECT_EQ(control<QLabel>("lblSample")->font().family(), "Beta Mono");
  EXPECT_EQ(stored(Key::FontName), "Courier New");
}

TEST_F(SetupOpening, FontListHoldsTheFirstFortyReportedFamiliesSorted) {
  fonts_.clear();
  for (int i = 45; i > 0; --i) fonts_ << QStringLiteral("Face %1").arg(i, 2, 10, QLatin1Char('0'));
  open();
  auto* list = control<QComboBox>("cboFontsScreen");
  ASSERT_EQ(list->count(), 40);
  EXPECT_EQ(list->itemText(0), "Face 06");
  EXPECT_EQ(list->itemText(39), "Face 45");
}

}  // namespace
}  // namespace skyfare::testing
