#include "windows/chooser/picture_chooser.h"

#include <array>
#include <cstdlib>
#include <optional>
#include <vector>

#include "core/app/program_title.h"
#include "windows/chooser/chooser_ids.h"
#include "windows/chooser/chooser_layout.h"
#include "windows/chooser/folder_listing.h"
#include "windows/chooser/path_rules.h"
#include "windows/platform/debug_line.h"
#include "windows/platform/system_message.h"
#include "windows/platform/wide_text.h"

namespace skyfare {

namespace {

struct FileType {
  const wchar_t* entry;
  const wchar_t* pattern;
};

constexpr std::array<FileType, 4> kFileTypes = {{
    {L"BMP files (*.BMP)", L"*.BMP"},
    {L"GIF files (*.GIF)", L"*.GIF"},
    {L"JPG files (*.JPG)", L"*.JPG"},
    {L"All files (*.*)", L"*.*"},
}};

constexpr int kDriveCount = 26;

std::wstring windowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring listEntry(HWND list, LRESULT position) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(position), 0);
  if (length == LB_ERR)
    return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(position),
                                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
  return text;
}

// Where a fresh chooser opens: the process's current folder, or, when that is gone, the user's
// own folder, or the root of the system drive.
std::wstring startFolder() {
  std::vector<std::wstring> candidates{processCurrentFolder()};
  if (const wchar_t* profile = _wgetenv(L"USERPROFILE"))
    candidates.emplace_back(profile);
  candidates.emplace_back(L"C:\\");
  for (const std::wstring& folder : candidates) {
    if (!folder.empty() && canEnter(folder))
      return folder;
  }
  return candidates.front();
}

// One opening of a chooser: its folder, its pattern and its controls' contents. The file
// system is read with full paths, so the process's current folder is never changed.
class ChooserWindow {
 public:
  ChooserWindow(SettingsStore& store, const ChooserConfig& config)
      : store_(store), config_(config) {}

  bool written() const { return written_; }

  INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
      case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlID != IDC_dirDirectory)
          return FALSE;
        const size_t entry = item.itemID;
        const bool ancestor = entry < ancestorCount_;
        drawFolderEntry(item, static_cast<int>(ancestor ? entry : ancestorCount_), ancestor);
        return TRUE;
      }
      default:
        return FALSE;
    }
  }

  void open(HWND dialog) {
    dialog_ = dialog;
    SetWindowTextW(dialog_, config_.title.c_str());
    layOutChooser(dialog_, config_.clientSizeTwips);
    for (const FileType& type : kFileTypes)
      SendMessageW(control(IDC_cboFileType), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(type.entry));
    SendMessageW(control(IDC_cboFileType), CB_SETCURSEL, 0, 0);
    pattern_ = kFileTypes[0].pattern;
    for (const wchar_t letter : driveLetters()) {
      const wchar_t name[] = {letter, L':', L'\0'};
      const LRESULT position =
          SendMessageW(control(IDC_drvDrive), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
      SendMessageW(control(IDC_drvDrive), CB_SETITEMDATA, static_cast<WPARAM>(position), letter);
    }
    const std::wstring start = startFolder();
    if (!openFolder(start)) {
      // Nothing can be listed; the label still says where the lists stand.
      currentFolder_ = start;
      SetWindowTextW(control(IDC_lblDirName), currentFolder_.c_str());
      debugLine("the picture chooser cannot list " + utf8FromWide(start));
    }
  }

 private:
  HWND control(int id) const { return GetDlgItem(dialog_, id); }

  void command(int id, int notification) {
    switch (id) {
      case IDC_cmdOK:
        if (notification == BN_CLICKED)
          confirm();
        break;
      case IDC_cmdCancel:
        EndDialog(dialog_, IDCANCEL);
        break;
      case IDC_cboFileType:
        if (notification == CBN_SELCHANGE)
          chooseFileType();
        break;
      case IDC_drvDrive:
        if (notification == CBN_SELCHANGE)
          chooseDrive();
        break;
      case IDC_dirDirectory:
        if (notification == LBN_DBLCLK)
          openChosenFolder();
        break;
      case IDC_filFiles:
        if (notification == LBN_SELCHANGE) {
          takeSelectedFile();
        } else if (notification == LBN_DBLCLK) {
          takeSelectedFile();
          confirm();
        }
        break;
      default:
        break;
    }
  }

  void chooseFileType() {
    const LRESULT position = SendMessageW(control(IDC_cboFileType), CB_GETCURSEL, 0, 0);
    if (position < 0 || position >= static_cast<LRESULT>(kFileTypes.size()))
      return;
    pattern_ = kFileTypes[static_cast<size_t>(position)].pattern;
    showFiles();
  }

  void chooseDrive() {
    const HWND drives = control(IDC_drvDrive);
    const LRESULT position = SendMessageW(drives, CB_GETCURSEL, 0, 0);
    if (position == CB_ERR)
      return;
    const auto letter = static_cast<wchar_t>(
        SendMessageW(drives, CB_GETITEMDATA, static_cast<WPARAM>(position), 0));
    if (openFolder(folderOnDrive(letter)))
      return;
    MessageBoxW(dialog_, L"Drive error!", L"Error", MB_OK | MB_ICONEXCLAMATION);
    // Back to the drive the lists are on, which chooses that drive again.
    showDrive();
    openFolder(currentFolder_);
  }

  // The folder a drive opens at: where the lists last were on it during this opening, else
  // the host's current folder for it.
  std::wstring folderOnDrive(wchar_t letter) const {
    const size_t index = static_cast<size_t>(letter - L'A');
    if (index < lastFolderOnDrive_.size() && !lastFolderOnDrive_[index].empty())
      return lastFolderOnDrive_[index];
    return currentFolderOfDrive(letter);
  }

  void openChosenFolder() {
    const LRESULT position = SendMessageW(control(IDC_dirDirectory), LB_GETCURSEL, 0, 0);
    if (position >= 0 && static_cast<size_t>(position) < folderPaths_.size())
      openFolder(folderPaths_[static_cast<size_t>(position)]);
  }

  // Makes the folder current when it can be listed; the lists stay as they were otherwise.
  bool openFolder(const std::wstring& folder) {
    if (!canEnter(folder))
      return false;
    currentFolder_ = folder;
    if (const std::optional<wchar_t> letter = driveLetterOf(folder))
      lastFolderOnDrive_[static_cast<size_t>(*letter - L'A')] = folder;
    SetWindowTextW(control(IDC_lblDirName), currentFolder_.c_str());
    showFolders();
    showFiles();
    showDrive();
    return true;
  }

  void showFolders() {
    const HWND list = control(IDC_dirDirectory);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    folderPaths_ = ancestorsOf(currentFolder_);
    ancestorCount_ = folderPaths_.size();
    for (const std::wstring& name : subfolders(currentFolder_))
      folderPaths_.push_back(joinFolderAndName(currentFolder_, name));
    for (const std::wstring& path : folderPaths_)
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(folderName(path).c_str()));
    SendMessageW(list, LB_SETCURSEL, ancestorCount_ - 1, 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
  }

  void showFiles() {
    const HWND list = control(IDC_filFiles);
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& name : matchingFiles(currentFolder_, pattern_))
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
  }

  void showDrive() {
    const HWND drives = control(IDC_drvDrive);
    const std::optional<wchar_t> letter = driveLetterOf(currentFolder_);
    LRESULT found = CB_ERR;
    const LRESULT count = SendMessageW(drives, CB_GETCOUNT, 0, 0);
    for (LRESULT position = 0; letter && position < count; ++position) {
      if (SendMessageW(drives, CB_GETITEMDATA, static_cast<WPARAM>(position), 0) ==
          static_cast<LRESULT>(*letter))
        found = position;
    }
    SendMessageW(drives, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
  }

  std::wstring selectedFile() const {
    const HWND list = control(IDC_filFiles);
    const LRESULT position = SendMessageW(list, LB_GETCURSEL, 0, 0);
    return position == LB_ERR ? std::wstring() : listEntry(list, position);
  }

  void takeSelectedFile() {
    const std::wstring name = selectedFile();
    if (!name.empty())
      SetWindowTextW(control(IDC_txtFileName), name.c_str());
  }

  void confirm() {
    const std::optional<std::wstring> path =
        chosenPath(currentFolder_, windowText(control(IDC_txtFileName)), selectedFile());
    if (!path) {
      MessageBoxW(dialog_, L"You must first select a file!", wideFromUtf8(kProgramTitle).c_str(),
                  MB_OK);
      return;
    }
    writeSetting(store_, config_.key, utf8FromWide(*path));
    written_ = true;
    EndDialog(dialog_, IDOK);
  }

  SettingsStore& store_;
  const ChooserConfig& config_;
  HWND dialog_ = nullptr;
  std::wstring currentFolder_;
  std::wstring pattern_;
  std::vector<std::wstring> folderPaths_;  // one for each entry of the folder list
  size_t ancestorCount_ = 0;               // the first entries: the root down to the current
  std::array<std::wstring, kDriveCount> lastFolderOnDrive_;
  bool written_ = false;
};

INT_PTR CALLBACK chooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* window = reinterpret_cast<ChooserWindow*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    window->open(dialog);
    return TRUE;
  }
  auto* window = reinterpret_cast<ChooserWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
  return window == nullptr ? FALSE : window->handle(message, wParam, lParam);
}

}  // namespace

ChooserConfig GetFile() {
  return {L"Select Your Background", Key::BMPFileName, {6060, 4680}};
}

ChooserConfig GetLogo() {
  return {L"Select Your Logo", Key::LogoFileName, {5835, 4290}};
}

bool runPictureChooser(HINSTANCE instance, HWND owner, SettingsStore& store,
                       const ChooserConfig& config) {
  ChooserWindow window(store, config);
  const INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_PICTURE_CHOOSER), owner,
                                         chooserProc, reinterpret_cast<LPARAM>(&window));
  if (result == -1)
    debugLine("the picture chooser cannot open: " + systemMessage(GetLastError()));
  return window.written();
}

}  // namespace skyfare
