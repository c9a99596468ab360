#include "windows/config/settings_page.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>

#include "core/settings/setting_values.h"
#include "core/settings/settings_store.h"
#include "core/settings/shown_number.h"
#include "windows/config/control_ids.h"
#include "windows/config/stored_check.h"
#include "windows/config/win_controls.h"
#include "windows/platform/wide_text.h"

namespace skyfare {

namespace {

constexpr int kHintWidthPx = 300;
constexpr wchar_t kPowerSaveHint[] =
    L"If you have your Monitor set to turn off enabling this will keep that setting, otherwise "
    L"the screensaver will ignore those settings";

int rangeEnd(Key key, bool maximum) {
  const SettingKey& row = settingKey(key);
  return (maximum ? row.maximum : row.minimum).value_or(0);
}

}  // namespace

SettingsPage::SettingsPage(HINSTANCE instance, HWND parent, SettingsStore& store)
    : store_(store),
      sliders_{
          {{IDC_hsbVolume, 0, Key::Volume, false, rangeEnd(Key::Volume, true)},
           {IDC_hsbFastJet, IDC_txtFastJet, Key::SecDelay, true, rangeEnd(Key::SecDelay, false)},
           {IDC_hsbSpeed, IDC_txtSpeed, Key::Speed, true, rangeEnd(Key::Speed, false)},
           {IDC_hsbMouseS, IDC_txtMouseS, Key::MouseSens, true, rangeEnd(Key::MouseSens, false)}}},
      checks_{{{IDC_chkProp, Key::Prop},
               {IDC_chkClock, Key::Clock},
               {IDC_chkPowerSave, Key::PwrSave}}} {
  create(instance, parent, IDD_SettingsPage, IDC_pageSettings);
  if (window() == nullptr)
    return;
  for (const Slider& slider : sliders_) {
    setTrackbarRange(control(slider.id), rangeEnd(slider.key, false), rangeEnd(slider.key, true));
    setTrackbar(control(slider.id), slider.value);
  }
  const HWND soundOff = control(IDC_cboSoundOff);
  addComboEntry(soundOff, wideFromUtf8(kNeverStopSound));
  for (const int minutes : kSoundOffMinutes) addComboEntry(soundOff, std::to_wstring(minutes));
  setComboSelection(soundOff, 0);
  createPowerSaveHint();
  placeGapControls();
}

void SettingsPage::createPowerSaveHint() {
  // Owned by the page, so it goes with it.
  const HWND tip = CreateWindowExW(
      WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window(), nullptr, nullptr, nullptr);
  if (tip == nullptr)
    return;
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window();
  tool.uId = reinterpret_cast<UINT_PTR>(control(IDC_chkPowerSave));
  tool.lpszText = const_cast<wchar_t*>(kPowerSaveHint);
  SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, MulDiv(kHintWidthPx, dpi(), USER_DEFAULT_SCREEN_DPI));
}

void SettingsPage::placeGapControls() {
  const HWND soundOff[] = {control(IDC_cboSoundOff)};
  const int soundOffWidths[] = {0};
  placeInLabelGap(control(IDC_lblSoundOff), soundOff, soundOffWidths, 1);

  RECT box{};
  GetWindowRect(control(IDC_txtFastJet), &box);
  const HWND fastJet[] = {control(IDC_hsbFastJet), control(IDC_txtFastJet)};
  const int fastJetWidths[] = {0, static_cast<int>(box.right - box.left)};
  placeInLabelGap(control(IDC_lblFastJet), fastJet, fastJetWidths, 2);
}

bool SettingsPage::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_HSCROLL:
      onScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
      return true;
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam));
      return true;
    case WM_DPICHANGED_AFTERPARENT:
      placeGapControls();
      return true;
    default:
      return false;
  }
}

SettingsPage::Slider* SettingsPage::sliderOf(HWND bar) {
  const auto found = std::find_if(sliders_.begin(), sliders_.end(),
                                  [&](const Slider& s) { return control(s.id) == bar; });
  return found == sliders_.end() ? nullptr : &*found;
}

// Every action of a trackbar ends with TB_ENDTRACK and a drag with TB_THUMBPOSITION; a value is
// told once, when it differs from the one last shown.
void SettingsPage::onScroll(HWND bar, int code) {
  Slider* slider = sliderOf(bar);
  if (slider == nullptr || (code == TB_THUMBTRACK && !slider->writesWhileDragged))
    return;
  const int value = trackbarValue(bar);
  if (value != slider->value)
    changed(*slider, value);
}

void SettingsPage::showValue(const Slider& slider) {
  if (slider.valueBoxId != 0)
    showText(slider.valueBoxId, std::to_wstring(slider.value));
}

void SettingsPage::changed(Slider& slider, int value) {
  slider.value = value;
  showValue(slider);
  writeSetting(store_, slider.key, std::to_string(value));
}

void SettingsPage::onCommand(int id, int code) {
  if (code == BN_CLICKED) {
    for (const Check& check : checks_) {
      if (check.id == id)
        writeCheck(store_, check.key, control(id));
    }
    return;
  }
  if (id == IDC_cboSoundOff && code == CBN_SELCHANGE) {
    // Only an entry picked from the list is written; text typed into the box is not.
    const HWND soundOff = control(IDC_cboSoundOff);
    const int position = comboSelection(soundOff);
    if (position >= 0)
      writeSetting(store_, Key::SoundOff, utf8FromWide(comboEntry(soundOff, position)));
    return;
  }
  if (id == IDC_txtFontSize && code == EN_CHANGE && !showingText())
    writeSetting(store_, Key::FontClock, utf8Text(IDC_txtFontSize));
}

void SettingsPage::loadSlider(Key key) {
  const auto found = std::find_if(sliders_.begin(), sliders_.end(),
                                  [key](const Slider& s) { return s.key == key; });
  Slider& slider = *found;
  const std::optional<ShownNumber> shown =
      shownNumber(readSetting(store_, key), rangeEnd(key, false), rangeEnd(key, true));
  if (shown && shown->value != slider.value) {
    setTrackbar(control(slider.id), shown->value);
    if (shown->inRange) {
      changed(slider, shown->value);
    } else {
      slider.value = shown->value;
    }
  }
  // The box shows the value even when loading left the slider where it was.
  showValue(slider);
}

void SettingsPage::loadCheck(Key key) {
  const auto found =
      std::find_if(checks_.begin(), checks_.end(), [key](const Check& c) { return c.key == key; });
  skyfare::loadCheck(store_, key, control(found->id));
}

void SettingsPage::loadProp() {
  loadCheck(Key::Prop);
}

void SettingsPage::loadSpeed() {
  loadSlider(Key::Speed);
}

void SettingsPage::loadSecDelay() {
  loadSlider(Key::SecDelay);
}

void SettingsPage::loadMouseSens() {
  loadSlider(Key::MouseSens);
}

void SettingsPage::loadClock() {
  loadCheck(Key::Clock);
}

void SettingsPage::loadFontClock() {
  showUtf8(IDC_txtFontSize, readSetting(store_, Key::FontClock));
}

// The stored text is shown as it stands; an entry equal to it is selected without being picked.
void SettingsPage::loadSoundOff() {
  const HWND soundOff = control(IDC_cboSoundOff);
  const std::wstring stored = wideFromUtf8(readSetting(store_, Key::SoundOff));
  const int entry = findComboEntry(soundOff, stored);
  if (entry >= 0)
    setComboSelection(soundOff, entry);
  showText(IDC_cboSoundOff, stored);
}

void SettingsPage::loadVolume() {
  loadSlider(Key::Volume);
}

void SettingsPage::loadPowerSave() {
  loadCheck(Key::PwrSave);
}

}  // namespace skyfare
