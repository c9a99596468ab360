#include "windows/config/logo_message_page.h"

#include <array>
#include <optional>
#include <utility>

#include "core/settings/setting_keys.h"
#include "core/settings/shown_number.h"
#include "windows/config/control_ids.h"
#include "windows/config/font_faces.h"
#include "windows/config/stored_check.h"
#include "windows/config/win_controls.h"
#include "windows/platform/wide_text.h"

namespace skyfare {

namespace {

constexpr std::array<const wchar_t*, 11> kFontSizeEntries = {
    L"8", L"10", L"20", L"30", L"40", L"50", L"60", L"70", L"80", L"90", L"100"};
constexpr int kSampleTenthsOfPoint = 135;

std::string decimal(int value) {
  return std::to_string(value);
}

}  // namespace

LogoMessagePage::LogoMessagePage(HINSTANCE instance, HWND parent, SettingsStore& store,
                                 const std::wstring& dataFolderText,
                                 std::function<void()> selectLogo)
    : store_(store), selectLogo_(std::move(selectLogo)) {
  create(instance, parent, IDD_LogoMessagePage, IDC_pageLogoMessage);
  if (window() == nullptr)
    return;
  showText(IDC_lblLogoHint, L"Must be in .bmp format, 800x600, and located in " + dataFolderText);
  for (const wchar_t* entry : kFontSizeEntries) addComboEntry(control(IDC_cboFontSize), entry);
  showSample();
}

bool LogoMessagePage::handle(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam));
      return true;
    case WM_DPICHANGED_AFTERPARENT:
      showSample();
      return true;
    default:
      return false;
  }
}

void LogoMessagePage::onCommand(int id, int code) {
  switch (id) {
    case IDC_cmdSelectLogo:
      if (code == BN_CLICKED) {
        selectLogo_();
        SelectLogo();
      }
      break;
    case IDC_chkLogo:
    case IDC_chkMessage:
      if (code == BN_CLICKED)
        writeCheck(store_, id == IDC_chkLogo ? Key::LogoChecked : Key::MessageChecked, control(id));
      break;
    case IDC_txtMessage:
      if (code == EN_CHANGE && !showingText())
        writeSetting(store_, Key::Message, utf8Text(IDC_txtMessage));
      break;
    case IDC_cboFontsScreen:
      if (code == CBN_SELCHANGE)
        pickFont(comboSelection(control(IDC_cboFontsScreen)));
      break;
    case IDC_cboFontSize:
      if (code == CBN_SELCHANGE) {
        pickFontSize(comboSelection(control(IDC_cboFontSize)));
      } else if (code == CBN_EDITCHANGE && !showingText()) {
        // Typed text is written after every keystroke; the stored position stays.
        writeSetting(store_, Key::FontSize, utf8Text(IDC_cboFontSize));
      }
      break;
    default:
      break;
  }
}

void LogoMessagePage::pickFont(int position) {
  if (position < 0)
    return;
  writeSetting(store_, Key::SelectedFont, decimal(position));
  writeSetting(store_, Key::FontName,
               utf8FromWide(comboEntry(control(IDC_cboFontsScreen), position)));
  showSample();
}

void LogoMessagePage::pickFontSize(int position) {
  if (position < 0)
    return;
  writeSetting(store_, Key::SelectedFontSize, decimal(position));
  writeSetting(store_, Key::FontSize, utf8FromWide(comboEntry(control(IDC_cboFontSize), position)));
}

void LogoMessagePage::showSample() {
  const HWND fonts = control(IDC_cboFontsScreen);
  const int position = comboSelection(fonts);
  const std::wstring face =
      position >= 0 ? comboEntry(fonts, position) : std::wstring(fontOf(window()).lfFaceName);
  showFont(control(IDC_lblSample), sampleFont_, createFace(face, kSampleTenthsOfPoint, dpi()));
}

void LogoMessagePage::fillFontList(const std::vector<std::wstring>& reportedFaces) {
  const HWND fonts = control(IDC_cboFontsScreen);
  SendMessageW(fonts, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& entry : fontListEntries(reportedFaces)) addComboEntry(fonts, entry);
  setComboSelection(fonts, -1);
}

void LogoMessagePage::loadFontPosition() {
  const HWND fonts = control(IDC_cboFontsScreen);
  const int count = comboCount(fonts);
  const std::optional<ShownNumber> shown =
      count == 0 ? std::nullopt : shownNumber(readSetting(store_, Key::SelectedFont), 0, count - 1);
  if (shown && shown->value != comboSelection(fonts)) {
    setComboSelection(fonts, shown->value);
    if (shown->inRange)
      writeSetting(store_, Key::SelectedFont, decimal(shown->value));
  }
  showSample();
}

void LogoMessagePage::loadFontName(
    const std::function<std::wstring(const std::wstring&)>& substitutedFace) {
  const HWND fonts = control(IDC_cboFontsScreen);
  const std::wstring name = wideFromUtf8(readSetting(store_, Key::FontName));
  const int entry = findComboEntry(fonts, name);
  if (entry >= 0) {
    if (entry != comboSelection(fonts)) {
      setComboSelection(fonts, entry);
      pickFont(entry);
    }
    return;
  }
  const std::wstring face = substitutedFace(name);
  const int drawn = face.empty() ? -1 : findComboEntry(fonts, face);
  if (drawn < 0)
    return;
  setComboSelection(fonts, drawn);
  showSample();
}

void LogoMessagePage::loadMessage() {
  showUtf8(IDC_txtMessage, readSetting(store_, Key::Message));
}

void LogoMessagePage::loadMessageChecked() {
  loadCheck(store_, Key::MessageChecked, control(IDC_chkMessage));
}

void LogoMessagePage::loadLogoChecked() {
  loadCheck(store_, Key::LogoChecked, control(IDC_chkLogo));
}

void LogoMessagePage::loadFontSizePosition() {
  const HWND sizes = control(IDC_cboFontSize);
  const std::optional<ShownNumber> shown =
      shownNumber(readSetting(store_, Key::SelectedFontSize), 0, comboCount(sizes) - 1);
  if (!shown || shown->value == comboSelection(sizes))
    return;
  setComboSelection(sizes, shown->value);
  if (shown->inRange)
    writeSetting(store_, Key::SelectedFontSize, decimal(shown->value));
}

void LogoMessagePage::loadFontSize() {
  showUtf8(IDC_cboFontSize, readSetting(store_, Key::FontSize));
}

void LogoMessagePage::SelectLogo() {
  showUtf8(IDC_txtLogo, readSetting(store_, Key::LogoFileName));
}

}  // namespace skyfare
