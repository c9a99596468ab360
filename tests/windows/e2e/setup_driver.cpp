// Drives the Control Box of another process the way a user would, by the IDs of its controls,
// and checks the registry after each step. Tabs are switched with TCM_SETCURFOCUS (WM_NOTIFY
// does not cross processes); buttons that open a modal box are pressed with PostMessage.
//   setup_driver tab N        shows tab N
//   setup_driver fresh        a first opening on an empty store, then every control's change
//   setup_driver reopened     an opening over stored values that need normalising or clamping
//   setup_driver help         "&Online HELP" opens the support page (expects "opened")
//   setup_driver help-fails   nothing opens the support page (expects a message box)
//   setup_driver ok           "&OK"
#include "windows/platform/win32_api.h"

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "windows/config/control_ids.h"

namespace {

constexpr wchar_t kTitle[] = L"Skyfare Control Box";
constexpr wchar_t kSettingsKey[] = L"Software\\VB and VBA Program Settings\\Airlume\\";
constexpr int kWaitMs = 10000;
constexpr wchar_t kDataFolder[] = L"C:\\Corvinel\\Skyfare\\";

int failures = 0;
HWND setup = nullptr;

std::string narrow(const std::wstring& text) {
  std::string out;
  for (const wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
  return out;
}

void expect(bool condition, const std::string& what) {
  if (!condition) {
    std::printf("FAIL: %s\n", what.c_str());
    ++failures;
  }
}

void expectText(const std::optional<std::wstring>& actual, const std::wstring& expected,
                const std::string& what) {
  std::string message = what;
  message.append(": expected \"").append(narrow(expected)).append("\", got ");
  if (actual)
    message.append("\"").append(narrow(*actual)).append("\"");
  else
    message.append("nothing");
  expect(actual == expected, message);
}

bool waitFor(const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

std::optional<std::wstring> stored(const wchar_t* section, const wchar_t* key) {
  wchar_t value[4096];
  DWORD bytes = sizeof value;
  const std::wstring path = std::wstring(kSettingsKey) + section;
  if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), key, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return std::wstring(value);
}
std::optional<std::wstring> startup(const wchar_t* key) {
  return stored(L"Startup", key);
}
std::optional<std::wstring> system(const wchar_t* key) {
  return stored(L"System", key);
}

struct Search {
  int id;
  HWND found;
};
BOOL CALLBACK matchId(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<Search*>(search);
  if (GetDlgCtrlID(window) != s->id)
    return TRUE;
  s->found = window;
  return FALSE;
}
// Any control of the dialog, on whichever page it is.
HWND item(int id) {
  Search search{id, nullptr};
  EnumChildWindows(setup, matchId, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr)
    expect(false, "no control with id " + std::to_string(id));
  return search.found;
}

std::wstring text(HWND window) {
  wchar_t buffer[4096] = {};
  SendMessageW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}
std::wstring text(int id) {
  return text(item(id));
}
bool ticked(int id) {
  return SendMessageW(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
int position(int id) {
  return static_cast<int>(SendMessageW(item(id), TBM_GETPOS, 0, 0));
}
std::wstring entry(int id, int index) {
  wchar_t buffer[256] = {};
  SendMessageW(item(id), CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(buffer));
  return buffer;
}
int selection(int id) {
  return static_cast<int>(SendMessageW(item(id), CB_GETCURSEL, 0, 0));
}

void showTab(int index) {
  SendMessageW(GetDlgItem(setup, IDC_SSTab), TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
}
void click(int id) {
  SendMessageW(item(id), BM_CLICK, 0, 0);
}
// Types into an edit box, or into the edit box of a drop-down box, replacing its text.
HWND editOf(int id) {
  const HWND control = item(id);
  const HWND edit = FindWindowExW(control, nullptr, L"Edit", nullptr);
  return edit != nullptr ? edit : control;
}
void type(int id, const std::wstring& keys) {
  const HWND edit = editOf(id);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  for (const wchar_t key : keys) SendMessageW(edit, WM_CHAR, key, 0);
}
void pressKey(HWND window, WPARAM key) {
  SendMessageW(window, WM_KEYDOWN, key, 0);
  SendMessageW(window, WM_KEYUP, key, 0xC0000000);
}
// A thumb dragged through `values` and released.
void drag(int id, std::initializer_list<int> values, const std::function<void(int)>& during) {
  const HWND bar = item(id);
  for (const int value : values) {
    SendMessageW(bar, TBM_SETPOS, TRUE, value);
    SendMessageW(GetParent(bar), WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, value & 0xFFFF),
                 reinterpret_cast<LPARAM>(bar));
    during(value);
  }
  const int last = *(values.end() - 1);
  SendMessageW(GetParent(bar), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, last & 0xFFFF),
               reinterpret_cast<LPARAM>(bar));
  SendMessageW(GetParent(bar), WM_HSCROLL, TB_ENDTRACK, reinterpret_cast<LPARAM>(bar));
}

HWND boxTitled(const wchar_t* title) {
  HWND box = nullptr;
  waitFor([&] {
    box = FindWindowW(L"#32770", title);
    return box != nullptr && IsWindowVisible(box);
  });
  return box;
}
std::wstring boxText(HWND box) {
  return text(GetDlgItem(box, 0xFFFF));
}
void pressInBox(HWND box, int button) {
  PostMessageW(GetDlgItem(box, button), BM_CLICK, 0, 0);
  waitFor([&] { return !IsWindow(box); });
}

std::wstring folderFile(const wchar_t* name) {
  return std::wstring(kDataFolder) + name;
}

void checkLayout() {
  RECT client{};
  GetClientRect(setup, &client);
  std::printf("client area %ldx%ld pixels\n", client.right, client.bottom);
  // 394 x 232 dialog units: 591 x 377 pixels at 96 dpi with the shell font of Windows, whose
  // characters are 13 pixels high; Wine's stand-in face for it is 12, which makes 348.
  expect(client.right == 591, "the client area is 591 pixels wide");
  expect(client.bottom == 348 || client.bottom == 377, "the client area is 232 dialog units high");
  expect(SendMessageW(GetDlgItem(setup, IDC_SSTab), TCM_GETITEMCOUNT, 0, 0) == 4, "four tabs");
  const int monitorWidth = GetSystemMetrics(SM_CXSCREEN);
  RECT frame{};
  GetWindowRect(setup, &frame);
  expect(std::abs((frame.left + frame.right) / 2 - monitorWidth / 2) <= 1,
         "the window is centred across the screen");
  expectText(text(IDC_lblSoundOff), L"Stop sound after:" + std::wstring(20, L' ') + L"min.",
             "the sound-off label");
  expectText(text(IDC_lblFastJet), L"Show every" + std::wstring(69, L' ') + L"Seconds",
             "the interval label");
  expectText(text(IDC_lblSpeedEnds), L"Fast" + std::wstring(79, L'-') + L"Slow", "the speed label");
  expectText(text(IDC_lblBGFolder), L" C:\\Corvinel\\Skyfare", "the background folder label");
  RECT label{}, gap{};
  GetWindowRect(item(IDC_lblSoundOff), &label);
  GetWindowRect(item(IDC_cboSoundOff), &gap);
  expect(gap.left > label.left + 20 && gap.right < label.right,
         "the sound-off box stands between the words of its label");
}

void checkFreshOpening() {
  expectText(system(L"SetReg"), L"2", "the defaults are written first");
  expect(position(IDC_hsbVolume) == -1533, "hsbVolume shows -1533");
  expectText(text(IDC_txtSpeed), L"3", "txtSpeed");
  expectText(text(IDC_txtMouseS), L"4", "txtMouseS");
  expectText(text(IDC_txtFastJet), L"30", "txtFastJet");
  expect(ticked(IDC_chkClock) && ticked(IDC_chkProp), "chkClock and chkProp ticked");
  expect(!ticked(IDC_chkLogo) && !ticked(IDC_chkMessage) && !ticked(IDC_chkPowerSave),
         "chkLogo, chkMessage and chkPowerSave unticked");
  expectText(text(IDC_cboSoundOff), L"Never", "cboSoundOff");
  expectText(text(IDC_txtFontSize), L"20", "txtFontSize");
  expectText(text(IDC_txtMessage), L"Place a Message Here", "txtMessage");
  expect(ticked(IDC_optBakGrnd2) && !ticked(IDC_optBakGrnd0) && !ticked(IDC_optBakGrnd1),
         "Custom marked");
  expectText(text(IDC_txtBGFile), folderFile(L"city lights.bmp"), "txtBGFile");
  expectText(text(IDC_txtLogo), folderFile(L"SF-Logo.bmp"), "txtLogo");
  expectText(text(IDC_cboFontSize), L"20", "cboFontSize");
  expect(IsWindowEnabled(item(IDC_cmdSelectBG)), "Select Background usable");
  const int fontCount = static_cast<int>(SendMessageW(item(IDC_cboFontsScreen), CB_GETCOUNT, 0, 0));
  std::printf("font list: %d entries, shown \"%s\" for Arial\n", fontCount,
              narrow(text(IDC_cboFontsScreen)).c_str());
  expect(fontCount > 2 && fontCount <= 40, "the font list holds up to 40 faces");
  for (int i = 1; i < fontCount; ++i)
    expect(
        CompareStringOrdinal(entry(IDC_cboFontsScreen, i - 1).c_str(), -1,
                             entry(IDC_cboFontsScreen, i).c_str(), -1, TRUE) != CSTR_GREATER_THAN,
        "the font list is sorted at " + std::to_string(i));
  expectText(startup(L"FontName"), L"Arial", "the stored font name stays");
  expectText(startup(L"SelectedFont"), L"2", "the stored font position stays");
  expect(selection(IDC_cboFontsScreen) >= 0, "a font is selected for Arial");
}

void checkSettingsChanges() {
  showTab(0);
  click(IDC_chkClock);
  expectText(startup(L"Clock"), L"0", "unticking Show Clock");
  click(IDC_chkClock);
  expectText(startup(L"Clock"), L"1", "ticking Show Clock");
  click(IDC_chkProp);
  expectText(startup(L"Prop"), L"0", "chkProp");
  click(IDC_chkPowerSave);
  expectText(system(L"PwrSave"), L"1", "chkPowerSave");

  drag(IDC_hsbSpeed, {9, 11}, [](int value) {
    expectText(text(IDC_txtSpeed), std::to_wstring(value), "txtSpeed while dragged");
    expectText(startup(L"Speed"), std::to_wstring(value), "Speed while dragged");
  });
  drag(IDC_hsbMouseS, {7}, [](int) {});
  expectText(system(L"MouseSens"), L"7", "MouseSens");
  drag(IDC_hsbFastJet, {45}, [](int) {});
  expectText(startup(L"SecDelay"), L"45", "SecDelay");
  expectText(text(IDC_txtFastJet), L"45", "txtFastJet");

  drag(IDC_hsbVolume, {-100, -90},
       [](int) { expectText(startup(L"Volume"), L"-1533", "Volume while its thumb is dragged"); });
  expectText(startup(L"Volume"), L"-90", "Volume once the thumb is released");
  pressKey(item(IDC_hsbVolume), VK_RIGHT);
  expectText(startup(L"Volume"), L"-89", "an arrow key moves the volume at once");

  type(IDC_cboSoundOff, L"45");
  expectText(system(L"SoundOff"), L"Never", "typing into the sound-off box writes nothing");
  pressKey(editOf(IDC_cboSoundOff), VK_DOWN);
  const std::wstring picked = text(IDC_cboSoundOff);
  expectText(system(L"SoundOff"), picked, "picking a sound-off entry");

  type(IDC_txtFontSize, L"x");
  expectText(startup(L"FontClock"), L"x", "FontClock after one key");
  type(IDC_txtFontSize, L"");
  SendMessageW(editOf(IDC_txtFontSize), WM_CHAR, L'9', 0);
  expectText(startup(L"FontClock"), L"9", "FontClock as typed");
}

void checkLogoMessageChanges() {
  showTab(2);
  type(IDC_txtMessage, L"H");
  expectText(startup(L"Message"), L"H", "Message after a keystroke");
  SendMessageW(item(IDC_txtMessage), WM_CHAR, L'i', 0);
  expectText(startup(L"Message"), L"Hi", "Message after another");
  type(IDC_txtMessage, L"\b");
  expectText(startup(L"Message"), L"", "an emptied message");
  click(IDC_chkMessage);
  expectText(startup(L"MessageChecked"), L"1", "chkMessage");
  click(IDC_chkLogo);
  expectText(startup(L"LogoChecked"), L"1", "chkLogo");

  type(IDC_cboFontSize, L"2");
  expectText(startup(L"FontSize"), L"2", "FontSize after the first key");
  SendMessageW(editOf(IDC_cboFontSize), WM_CHAR, L'5', 0);
  expectText(startup(L"FontSize"), L"25", "FontSize after the second key");
  expectText(startup(L"SelectedFontSize"), L"2", "typing leaves SelectedFontSize");

  SendMessageW(item(IDC_cboFontSize), CB_SETCURSEL, 3, 0);
  pressKey(editOf(IDC_cboFontSize), VK_DOWN);
  expectText(startup(L"SelectedFontSize"), L"4", "a picked size's position");
  expectText(startup(L"FontSize"), L"40", "a picked size's text");

  SendMessageW(item(IDC_cboFontsScreen), CB_SETCURSEL, 1, 0);
  pressKey(item(IDC_cboFontsScreen), VK_DOWN);
  expectText(startup(L"SelectedFont"), L"2", "picking the third font");
  expectText(startup(L"FontName"), entry(IDC_cboFontsScreen, 2), "the third font's name");
}

void checkBackgroundChoice() {
  showTab(1);
  click(IDC_optBakGrnd1);
  expectText(startup(L"BackGround"), L"2", "Solid Sky Blue");
  expect(!IsWindowEnabled(item(IDC_cmdSelectBG)), "Select Background unusable");
  expect(!ticked(IDC_optBakGrnd2), "Custom cleared");
  click(IDC_optBakGrnd2);
  expectText(startup(L"BackGround"), L"3", "Custom");
  expect(IsWindowEnabled(item(IDC_cmdSelectBG)), "Select Background usable again");
  // From another tab: the page is hidden, and its options still keep one marked.
  showTab(0);
  click(IDC_optBakGrnd0);
  expectText(startup(L"BackGround"), L"1", "Solid Black from a hidden page");
  expect(ticked(IDC_optBakGrnd0) && !ticked(IDC_optBakGrnd2), "one option marked");
  showTab(1);
  click(IDC_optBakGrnd2);
}

void checkChoosers() {
  showTab(2);
  PostMessageW(item(IDC_cmdSelectLogo), BM_CLICK, 0, 0);
  HWND box = boxTitled(L"Select Your Logo");
  expect(box != nullptr, "Select Logo opens the logo chooser");
  if (box == nullptr)
    return;
  expect(!IsWindowEnabled(setup), "the dialog takes no input while a chooser is open");
  // A path typed in the chooser's name box, its one edit box, is stored as it stands.
  const std::wstring logo = L"C:\\Pictures\\my logo.bmp";
  SendMessageW(FindWindowExW(box, nullptr, L"Edit", nullptr), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(logo.c_str()));
  pressInBox(box, IDOK);
  expect(waitFor([&] { return text(IDC_txtLogo) == startup(L"LogoFileName"); }),
         "txtLogo shows the stored logo");
  expectText(startup(L"LogoFileName"), logo, "LogoFileName holds the typed path");

  showTab(1);
  PostMessageW(item(IDC_cmdSelectBG), BM_CLICK, 0, 0);
  box = boxTitled(L"Select Your Background");
  expect(box != nullptr, "Select Background opens the background chooser");
  if (box == nullptr)
    return;
  pressInBox(box, IDCANCEL);
  expect(waitFor([] { return IsWindowEnabled(setup) != FALSE; }), "the dialog is usable again");
  expectText(text(IDC_txtBGFile), folderFile(L"city lights.bmp"), "a cancelled choice");
  expectText(startup(L"BMPFileName"), folderFile(L"city lights.bmp"), "BMPFileName kept");
}

void checkAbout() {
  PostMessageW(GetDlgItem(setup, IDC_cmdAbout), BM_CLICK, 0, 0);
  const HWND box = boxTitled(L"Skyfare 1");
  expect(box != nullptr, "About shows a box titled Skyfare 1");
  if (box == nullptr)
    return;
  expect(boxText(box).find(L"Version 1.0.0") != std::wstring::npos, "About tells the version");
  pressInBox(box, IDOK);
}

void checkReopened() {
  expectText(text(IDC_txtSpeed), L"5", "a stored 05 is shown as 5");
  expectText(startup(L"Speed"), L"5", "and written back as 5");
  expectText(text(IDC_txtMouseS), L"20", "a stored 21 is shown clamped");
  expectText(system(L"MouseSens"), L"21", "and left in the store");
  expect(position(IDC_hsbVolume) == -2500, "a stored -3000 is shown as -2500");
  expectText(startup(L"Volume"), L"-3000", "and left in the store");
  expectText(startup(L"SecDelay"), L"300", "a stored 0300 is written back as 300");
  expect(ticked(IDC_optBakGrnd1) && !ticked(IDC_optBakGrnd2), "Solid Sky Blue marked");
  expect(!IsWindowEnabled(item(IDC_cmdSelectBG)), "Select Background unusable");
  expectText(text(IDC_cboFontSize), L"25", "a typed font size survives reopening");
  expectText(startup(L"SelectedFontSize"), L"4", "and the stored position stays");
  expectText(startup(L"FontSize"), L"25", "and so does the stored size");
  expectText(startup(L"Clock"), L"1", "a stored 01 is written back as 1");
  expectText(text(IDC_txtMessage), L"Gate 4", "txtMessage");
  expectText(startup(L"Message"), L"Gate 4", "Message");
  expectText(text(IDC_cboSoundOff), L"7", "a sound-off time that is no entry is shown");
  expectText(system(L"SoundOff"), L"7", "and kept");
  expectText(text(IDC_cboFontsScreen), *startup(L"FontName"), "a listed font name is selected");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2)
    return 2;
  const std::wstring step = argv[1];
  waitFor([] {
    setup = FindWindowW(nullptr, kTitle);
    return setup != nullptr && IsWindowVisible(setup);
  });
  if (setup == nullptr) {
    std::printf("FAIL: no window titled Skyfare Control Box\n");
    return 1;
  }
  if (step == L"tab" && argc > 2) {
    showTab(_wtoi(argv[2]));
  } else if (step == L"fresh") {
    checkLayout();
    checkFreshOpening();
    checkSettingsChanges();
    checkLogoMessageChanges();
    checkBackgroundChoice();
    checkChoosers();
    checkAbout();
  } else if (step == L"reopened") {
    checkReopened();
  } else if (step == L"help" || step == L"help-fails") {
    PostMessageW(GetDlgItem(setup, IDC_cmdHelp), BM_CLICK, 0, 0);
    if (step == L"help-fails") {
      const HWND box = boxTitled(L"Skyfare 1");
      expect(box != nullptr, "a box says where the support page is");
      if (box != nullptr) {
        expectText(
            boxText(box),
            L"No browser could be opened for the support page: " + folderFile(L"support.htm"),
            "the box's text");
        pressInBox(box, IDOK);
      }
    }
  } else if (step == L"ok") {
    PostMessageW(GetDlgItem(setup, IDC_cmdOK), BM_CLICK, 0, 0);
  } else {
    return 2;
  }
  return failures == 0 ? 0 : 1;
}
