#include "windows/config/setup.h"

#include <commctrl.h>
#include <shellapi.h>

#include <utility>

#include "core/settings/setting_keys.h"
#include "core/settings/settings_store.h"
#include "windows/chooser/picture_chooser.h"
#include "windows/config/background_page.h"
#include "windows/config/control_ids.h"
#include "windows/config/font_faces.h"
#include "windows/config/help_page.h"
#include "windows/config/logo_message_page.h"
#include "windows/config/settings_page.h"
#include "windows/platform/debug_line.h"
#include "windows/platform/wide_text.h"

namespace skyfare {

namespace {

constexpr wchar_t kProgramTitle[] = L"Skyfare 1";
constexpr wchar_t kSupportPage[] = L"support.htm";
constexpr UINT kTellWriteFailure = WM_APP + 1;
constexpr std::array<const wchar_t*, 4> kTabCaptions = {L"Settings", L"BackGround", L"Logo/Message",
                                                        L"Help"};
// ShellExecute's results up to this one are errors.
constexpr INT_PTR kLastShellError = 32;

// The data folder as the dialog's texts name it: without its trailing "\".
std::wstring folderForDisplay(const std::string& dataFolder) {
  std::wstring folder = wideFromUtf8(dataFolder);
  if (folder.size() > 1 && (folder.back() == L'\\' || folder.back() == L'/'))
    folder.pop_back();
  return folder;
}

}  // namespace

Setup::Setup(HINSTANCE instance, SettingsStore& store, std::string dataFolder)
    : instance_(instance), store_(store), dataFolder_(std::move(dataFolder)) {
  store_.setWriteFailureListener([this](const WriteFailure& failure) {
    untoldWriteFailure_ = L"Skyfare cannot save your settings in " + wideFromUtf8(failure.file) +
                          (failure.cause.empty() ? L"" : L": " + wideFromUtf8(failure.cause)) +
                          L".";
    // A modal box in the middle of a keystroke or a drag would leave that control half way.
    if (window_ != nullptr)
      PostMessageW(window_, kTellWriteFailure, 0, 0);
  });
  CreateDialogParamW(instance_, MAKEINTRESOURCEW(IDD_Setup), nullptr, &Setup::procedure,
                     reinterpret_cast<LPARAM>(this));
  if (window_ == nullptr) {
    debugLine("the Control Box could not be made");
    ended_ = true;
    return;
  }
  // Until a display session has run, the store holds no defaults, and that session's first-run
  // reset would wipe whatever is chosen here; so the dialog writes the defaults first.
  initialiseOnFirstRun(store_, dataFolder_);
  open();
  ShowWindow(window_, SW_SHOWNORMAL);
}

Setup::~Setup() {
  store_.setWriteFailureListener({});
  if (window_ != nullptr)
    DestroyWindow(window_);
}

INT_PTR CALLBACK Setup::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* setup = reinterpret_cast<Setup*>(lParam);
    setup->window_ = window;
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    setup->createPages();
    SetFocus(GetDlgItem(window, IDC_SSTab));
    return FALSE;
  }
  auto* setup = reinterpret_cast<Setup*>(GetWindowLongPtrW(window, DWLP_USER));
  if (setup == nullptr)
    return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    setup->window_ = nullptr;
    setup->ended_ = true;
    return FALSE;
  }
  return setup->handle(message, wParam, lParam) ? TRUE : FALSE;
}

bool Setup::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      onCommand(LOWORD(wParam));
      return true;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_SSTab && header->code == TCN_SELCHANGE)
        showPage(TabCtrl_GetCurSel(header->hwndFrom));
      return true;
    }
    case WM_SIZE:
      placePages();
      return false;
    case kTellWriteFailure:
      showWriteFailure();
      return true;
    default:
      return false;
  }
}

void Setup::createPages() {
  const HWND tabs = GetDlgItem(window_, IDC_SSTab);
  for (int index = 0; index < static_cast<int>(kTabCaptions.size()); ++index) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(kTabCaptions[static_cast<size_t>(index)]);
    SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
  }
  const std::wstring folder = folderForDisplay(dataFolder_);
  settingsPage_ = std::make_unique<SettingsPage>(instance_, window_, store_);
  backgroundPage_ = std::make_unique<BackgroundPage>(instance_, window_, store_, folder,
                                                     [this] { choosePicture(GetFile()); });
  logoMessagePage_ = std::make_unique<LogoMessagePage>(instance_, window_, store_, folder,
                                                       [this] { choosePicture(GetLogo()); });
  helpPage_ = std::make_unique<HelpPage>(instance_, window_, folder);
  pages_ = {settingsPage_->window(), backgroundPage_->window(), logoMessagePage_->window(),
            helpPage_->window()};
  placePages();
  showPage(0);
}

// The pages fill the tab control's display area and lie above it, so its painting does not
// cover them.
void Setup::placePages() {
  const HWND tabs = GetDlgItem(window_, IDC_SSTab);
  if (tabs == nullptr)
    return;
  RECT area{};
  GetWindowRect(tabs, &area);
  MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&area), 2);
  TabCtrl_AdjustRect(tabs, FALSE, &area);
  for (const HWND page : pages_) {
    if (page != nullptr)
      SetWindowPos(page, HWND_TOP, area.left, area.top, area.right - area.left,
                   area.bottom - area.top, SWP_NOACTIVATE);
  }
}

void Setup::showPage(int index) {
  for (size_t i = 0; i < pages_.size(); ++i) {
    if (pages_[i] != nullptr)
      ShowWindow(pages_[i], static_cast<int>(i) == index ? SW_SHOW : SW_HIDE);
  }
}

void Setup::turnPage(int step) {
  const HWND tabs = GetDlgItem(window_, IDC_SSTab);
  const int count = static_cast<int>(pages_.size());
  const int next = (TabCtrl_GetCurSel(tabs) + step + count) % count;
  // Selects the tab as a click does, TCN_SELCHANGE included.
  SendMessageW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(next), 0);
}

// Each step reads its key as it runs; a control whose shown value changes writes it back in
// normalised form, as if the user had set it.
void Setup::open() {
  logoMessagePage_->fillFontList(reportedFontFaces());
  logoMessagePage_->loadFontPosition();
  backgroundPage_->loadChoice();
  settingsPage_->loadProp();
  logoMessagePage_->loadMessage();
  settingsPage_->loadSpeed();
  logoMessagePage_->loadMessageChecked();
  logoMessagePage_->loadLogoChecked();
  logoMessagePage_->SelectLogo();
  backgroundPage_->SelectBG();
  logoMessagePage_->loadFontPosition();
  logoMessagePage_->loadFontName(substitutedFace);
  settingsPage_->loadSecDelay();
  logoMessagePage_->loadFontSizePosition();
  logoMessagePage_->loadFontSize();
  settingsPage_->loadMouseSens();
  settingsPage_->loadClock();
  settingsPage_->loadFontClock();
  settingsPage_->loadSoundOff();
  settingsPage_->loadVolume();
  settingsPage_->loadPowerSave();
  backgroundPage_->showSelectBackgroundState();
}

void Setup::onCommand(int id) {
  switch (id) {
    case IDC_cmdOK:
    case IDCANCEL:  // the close box and Escape
      ended_ = true;
      break;
    case IDC_cmdAbout:
      showAbout();
      break;
    case IDC_cmdHelp:
      Navigate(wideFromUtf8(dataFolder_) + kSupportPage);
      break;
    default:
      break;
  }
}

void Setup::Navigate(const std::wstring& webPageUrl) {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(window_, L"open", webPageUrl.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result > kLastShellError)
    return;
  debugLine("no browser could be opened for the support page " + utf8FromWide(webPageUrl));
  MessageBoxW(window_, (L"No browser could be opened for the support page: " + webPageUrl).c_str(),
              kProgramTitle, MB_OK | MB_ICONINFORMATION);
}

void Setup::showAbout() {
  MessageBoxW(window_, L"Skyfare\nVersion " SKYFARE_VERSION L"\n\nAirliners crossing your screen.",
              kProgramTitle, MB_OK | MB_ICONINFORMATION);
}

void Setup::choosePicture(const ChooserConfig& config) {
  runPictureChooser(instance_, window_, store_, config);
}

void Setup::showWriteFailure() {
  if (untoldWriteFailure_.empty())
    return;
  const std::wstring text = std::exchange(untoldWriteFailure_, {});
  MessageBoxW(window_, text.c_str(), kProgramTitle, MB_OK | MB_ICONWARNING);
}

}  // namespace skyfare
