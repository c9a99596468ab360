// Drives the picture choosers from outside, as a user would: each case starts a chooser in a
// process of its own (chooser_host, beside this program) in a folder of test files, finds the
// window by its title and each control by its ID, acts through window messages and reads the
// registry after each step. Buttons that open a modal box are posted, so this side never waits
// on a box it has yet to dismiss. The drives Q: (whose folder is missing) and R: (a root holding
// sky.bmp) are made by the script that runs this program.
#include "windows/platform/win32_api.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "core/settings/setting_keys.h"
#include "windows/chooser/chooser_ids.h"
#include "windows/chooser/path_rules.h"
#include "windows/platform/registry_store.h"
#include "windows/platform/wide_text.h"

namespace skyfare {
namespace {

constexpr DWORD kWindowWaitMs = 20000;
constexpr DWORD kPollIntervalMs = 20;
constexpr UINT kSendTimeoutMs = 5000;
constexpr DWORD kExitNothingWritten = 0;
constexpr DWORD kExitWritten = 1;
constexpr wchar_t kMissingDrive[] = L"Q:";
constexpr wchar_t kRootDrive[] = L"R:";

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleCloser>;

std::wstring besideThisProgram(const wchar_t* name) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder(self, length);
  folder.resize(folder.rfind(L'\\'));
  return joinFolderAndName(folder, name);
}

LRESULT send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                          &result) == 0)
    ADD_FAILURE() << "message " << message << " was not answered";
  return static_cast<LRESULT>(result);
}

std::wstring textOf(HWND window) {
  const auto length = static_cast<size_t>(send(window, WM_GETTEXTLENGTH));
  std::wstring text(length + 1, L'\0');
  text.resize(static_cast<size_t>(
      send(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

std::string utf8(const std::wstring& text) {
  return utf8FromWide(text);
}

// The entries of a list box (or, with the combo box messages, of a drop-down list).
std::vector<std::wstring> entriesOf(HWND list, bool comboBox = false) {
  const UINT countMessage = comboBox ? CB_GETCOUNT : LB_GETCOUNT;
  const UINT lengthMessage = comboBox ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
  const UINT textMessage = comboBox ? CB_GETLBTEXT : LB_GETTEXT;
  std::vector<std::wstring> entries;
  const LRESULT count = send(list, countMessage);
  for (LRESULT position = 0; position < count; ++position) {
    const auto length = static_cast<size_t>(send(list, lengthMessage, position));
    std::wstring text(length + 1, L'\0');
    text.resize(static_cast<size_t>(
        send(list, textMessage, position, reinterpret_cast<LPARAM>(text.data()))));
    entries.push_back(text);
  }
  return entries;
}

template <typename Condition>
bool waitFor(Condition condition, DWORD timeoutMs = kWindowWaitMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() > deadline)
      return false;
    Sleep(kPollIntervalMs);
  }
  return true;
}

struct WindowSearch {
  DWORD process;
  std::wstring title;
  HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<WindowSearch*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t title[256];
  GetWindowTextW(window, title, 256);
  if (process == search.process && IsWindowVisible(window) && search.title == title) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

// One modal message box of the chooser's process.
struct MessageBoxSeen {
  std::wstring text;
  bool icon = false;
};

BOOL CALLBACK readBoxPart(HWND child, LPARAM lParam) {
  auto& seen = *reinterpret_cast<MessageBoxSeen*>(lParam);
  wchar_t className[32];
  GetClassNameW(child, className, 32);
  if (std::wstring_view(className) != L"Static" || !IsWindowVisible(child))
    return TRUE;
  if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    // A box without an icon may still keep the empty icon control.
    seen.icon = seen.icon || send(child, STM_GETICON) != 0;
  } else if (const std::wstring text = textOf(child); !text.empty()) {
    seen.text = text;
  }
  return TRUE;
}

// The host process with one chooser in it, ended if a case leaves it running.
class ChooserProcess {
 public:
  ChooserProcess(const wchar_t* which, const std::wstring& folder) {
    std::wstring commandLine = L"chooser_host.exe " + std::wstring(which);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    const std::wstring host = besideThisProgram(L"chooser_host.exe");
    if (!CreateProcessW(host.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &info)) {
      ADD_FAILURE() << "cannot start " << utf8(host);
      return;
    }
    process_.reset(info.hProcess);
    CloseHandle(info.hThread);
    id_ = info.dwProcessId;
  }
  ~ChooserProcess() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT)
      TerminateProcess(process_.get(), 99);
  }
  ChooserProcess(const ChooserProcess&) = delete;
  ChooserProcess& operator=(const ChooserProcess&) = delete;

  HWND waitWindow(const std::wstring& title) const {
    WindowSearch search{id_, title, nullptr};
    waitFor([&] {
      EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
      return search.found != nullptr;
    });
    return search.found;
  }

  // Waits for the box, reads it and dismisses it with its OK button.
  std::optional<MessageBoxSeen> dismissBox(const std::wstring& title) const {
    const HWND box = waitWindow(title);
    if (box == nullptr)
      return std::nullopt;
    MessageBoxSeen seen;
    EnumChildWindows(box, readBoxPart, reinterpret_cast<LPARAM>(&seen));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    waitFor([&] { return !IsWindow(box); });
    return seen;
  }

  // The exit code, or nothing while it still runs after the wait.
  std::optional<DWORD> exitCode() const {
    if (!process_ || WaitForSingleObject(process_.get(), kWindowWaitMs) != WAIT_OBJECT_0)
      return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_.get(), &code);
    return code;
  }

  bool running() const {
    return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT;
  }

 private:
  OwnedHandle process_;
  DWORD id_ = 0;
};

// An open chooser window, driven through its controls.
class Chooser {
 public:
  explicit Chooser(HWND window) : window_(window) {}

  HWND control(int id) const { return GetDlgItem(window_, id); }
  std::wstring text(int id) const { return textOf(control(id)); }
  std::vector<std::wstring> files() const { return entriesOf(control(IDC_filFiles)); }
  std::vector<std::wstring> folders() const { return entriesOf(control(IDC_dirDirectory)); }
  std::vector<std::wstring> fileTypes() const { return entriesOf(control(IDC_cboFileType), true); }
  std::wstring drive() const {
    const LRESULT position = send(control(IDC_drvDrive), CB_GETCURSEL);
    const std::vector<std::wstring> drives = entriesOf(control(IDC_drvDrive), true);
    return position < 0 ? L"" : drives.at(static_cast<size_t>(position));
  }
  SIZE clientSize() const {
    RECT client{};
    GetClientRect(window_, &client);
    return {client.right, client.bottom};
  }

  void clickFile(const std::wstring& name) const { select(IDC_filFiles, name, LBN_SELCHANGE); }
  void doubleClickFile(const std::wstring& name) const {
    clickFile(name);
    PostMessageW(window_, WM_COMMAND, MAKEWPARAM(IDC_filFiles, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(control(IDC_filFiles)));
  }
  void doubleClickFolder(const std::wstring& name) const {
    select(IDC_dirDirectory, name, LBN_DBLCLK);
  }
  void typeName(const std::wstring& name) const {
    send(control(IDC_txtFileName), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  void chooseFileType(int position) const {
    send(control(IDC_cboFileType), CB_SETCURSEL, static_cast<WPARAM>(position));
    send(window_, WM_COMMAND, MAKEWPARAM(IDC_cboFileType, CBN_SELCHANGE),
         reinterpret_cast<LPARAM>(control(IDC_cboFileType)));
  }
  // A drive that cannot be entered opens a modal box: then the choice is posted, and settle()
  // after the box has gone waits for the rest of it.
  void chooseDrive(const std::wstring& name, bool opensBox = false) const {
    const std::vector<std::wstring> drives = entriesOf(control(IDC_drvDrive), true);
    const auto found = std::find(drives.begin(), drives.end(), name);
    ASSERT_NE(found, drives.end()) << "no drive " << utf8(name);
    send(control(IDC_drvDrive), CB_SETCURSEL, static_cast<WPARAM>(found - drives.begin()));
    const WPARAM notification = MAKEWPARAM(IDC_drvDrive, CBN_SELCHANGE);
    const auto list = reinterpret_cast<LPARAM>(control(IDC_drvDrive));
    if (opensBox)
      PostMessageW(window_, WM_COMMAND, notification, list);
    else
      send(window_, WM_COMMAND, notification, list);
  }
  void pressOk() const { press(IDC_cmdOK); }
  void pressCancel() const { press(IDC_cmdCancel); }
  void closeBox() const { PostMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0); }
  // Returns once the chooser's thread takes messages again, as it does when a handler is done.
  void settle() const {
    waitFor([&] {
      return SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                                 nullptr) != 0;
    });
  }

 private:
  void select(int id, const std::wstring& name, WORD notification) const {
    const std::vector<std::wstring> entries = entriesOf(control(id));
    const auto found = std::find(entries.begin(), entries.end(), name);
    ASSERT_NE(found, entries.end()) << "no entry " << utf8(name);
    send(control(id), LB_SETCURSEL, static_cast<WPARAM>(found - entries.begin()));
    send(window_, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(control(id)));
  }
  void press(int id) const {
    PostMessageW(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(id)));
  }

  HWND window_;
};

class ChooserDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    wchar_t longTemp[MAX_PATH];
    ASSERT_GT(GetLongPathNameW(temp, longTemp, MAX_PATH), 0u);
    folder_ =
        joinFolderAndName(longTemp, L"skyfare-chooser-" + std::to_wstring(GetCurrentProcessId()) +
                                        L"-" + std::to_wstring(GetTickCount64()));
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    for (const wchar_t* name : {L"Pics", L".hiddenfolder"})
      CreateDirectoryW(path(name).c_str(), nullptr);
    for (const wchar_t* name : {L"sky.bmp", L"SEA.BMP", L"notes.txt", L"pic.gif", L"photo.JPG",
                                L".hidden.bmp", L"Pics\\deep.bmp"})
      make(name);
    SetFileAttributesW(path(L".hidden.bmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesW(path(L".hiddenfolder").c_str(), FILE_ATTRIBUTE_HIDDEN);
    writeSetting(store_, Key::BMPFileName, "old.bmp");
    writeSetting(store_, Key::LogoFileName, "old-logo.bmp");
  }

  std::wstring path(const wchar_t* name) const { return joinFolderAndName(folder_, name); }
  void make(const wchar_t* name) const {
    const OwnedHandle file(CreateFileW(path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(file.get(), INVALID_HANDLE_VALUE) << utf8(path(name));
  }

  std::string stored(Key key = Key::BMPFileName) { return readSetting(store_, key); }

  // Starts a chooser in the folder and waits for its window.
  Chooser open(ChooserProcess& process, const wchar_t* title = L"Select Your Background") {
    const HWND window = process.waitWindow(title);
    EXPECT_NE(window, nullptr) << "no window titled " << utf8(title);
    return Chooser(window);
  }

  std::wstring folder_;
  RegistryStore store_;
};

TEST_F(ChooserDriverTest, OpensAtTheWorkingFolderWithBitmapsListed) {
  ChooserProcess process(L"background", folder_);
  const Chooser chooser = open(process);
  EXPECT_EQ(chooser.text(IDC_lblDirName), folder_);
  EXPECT_EQ(chooser.text(IDC_txtFileName), L"");
  EXPECT_EQ(chooser.files(), (std::vector<std::wstring>{L"SEA.BMP", L"sky.bmp"}));
  EXPECT_EQ(chooser.fileTypes(),
            (std::vector<std::wstring>{L"BMP files (*.BMP)", L"GIF files (*.GIF)",
                                       L"JPG files (*.JPG)", L"All files (*.*)"}));
  EXPECT_EQ(chooser.text(IDC_cboFileType), L"BMP files (*.BMP)");
  EXPECT_EQ(chooser.drive(), L"C:");
  for (const auto& [id, caption] : {std::pair{IDC_captionFileName, L"File Name:"},
                                    {IDC_captionFileType, L"File Type:"},
                                    {IDC_captionDirectories, L"Directories:"},
                                    {IDC_captionDrive, L"Drive:"},
                                    {IDC_cmdCancel, L"&Cancel"},
                                    {IDC_cmdOK, L"&OK"}})
    EXPECT_EQ(chooser.text(id), caption);

  // The root and every folder down to this one, then its subfolders without the hidden one.
  std::vector<std::wstring> expected;
  for (const std::wstring& ancestor : ancestorsOf(folder_))
    expected.push_back(folderName(ancestor));
  expected.push_back(L"Pics");
  EXPECT_EQ(chooser.folders(), expected);
  // 6060 × 4680 twips at 96 dots per inch.
  EXPECT_EQ(chooser.clientSize().cx, 404);
  EXPECT_EQ(chooser.clientSize().cy, 312);

  chooser.pressCancel();
  EXPECT_EQ(process.exitCode(), kExitNothingWritten);
  EXPECT_EQ(stored(), "old.bmp");
}

TEST_F(ChooserDriverTest, EachFileTypeListsItsOrdinaryFilesIgnoringCase) {
  ChooserProcess process(L"background", folder_);
  const Chooser chooser = open(process);
  const std::vector<std::vector<std::wstring>> expected = {
      {L"SEA.BMP", L"sky.bmp"},
      {L"pic.gif"},
      {L"photo.JPG"},
      {L"notes.txt", L"photo.JPG", L"pic.gif", L"SEA.BMP", L"sky.bmp"},
  };
  for (int position = 0; position < 4; ++position) {
    chooser.chooseFileType(position);
    EXPECT_EQ(chooser.files(), expected[static_cast<size_t>(position)]) << position;
  }
  chooser.closeBox();
  EXPECT_EQ(process.exitCode(), kExitNothingWritten);
}

TEST_F(ChooserDriverTest, OkStoresTheFolderAndFileOrTheTextAsTyped) {
  struct Row {
    const wchar_t* clicked;
    const wchar_t* typed;
    std::string stored;
  };
  for (const Row& row :
       {Row{L"sky.bmp", nullptr, utf8(path(L"sky.bmp"))}, Row{L"sky.bmp", L"sea.bmp", "sea.bmp"},
        Row{L"sky.bmp", L"SKY.BMP", "SKY.BMP"},
        Row{nullptr, L"D:\\nowhere\\x.bmp", "D:\\nowhere\\x.bmp"}}) {
    writeSetting(store_, Key::BMPFileName, "old.bmp");
    ChooserProcess process(L"background", folder_);
    const Chooser chooser = open(process);
    if (row.clicked) {
      chooser.clickFile(row.clicked);
      EXPECT_EQ(chooser.text(IDC_txtFileName), row.clicked);
      EXPECT_EQ(stored(), "old.bmp") << "a click writes nothing";
    }
    if (row.typed)
      chooser.typeName(row.typed);
    chooser.pressOk();
    EXPECT_EQ(process.exitCode(), kExitWritten);
    EXPECT_EQ(stored(), row.stored);
  }
}

TEST_F(ChooserDriverTest, AtADrivesRootThePathHasOneSeparator) {
  ChooserProcess process(L"background", std::wstring(kRootDrive) + L"\\");
  const Chooser chooser = open(process);
  EXPECT_EQ(chooser.text(IDC_lblDirName), L"R:\\");
  chooser.clickFile(L"sky.bmp");
  chooser.pressOk();
  EXPECT_EQ(process.exitCode(), kExitWritten);
  EXPECT_EQ(stored(), "R:\\sky.bmp");
}

TEST_F(ChooserDriverTest, DoubleClickingAFileStoresItAndCloses) {
  ChooserProcess process(L"logo", folder_);
  const Chooser chooser = open(process, L"Select Your Logo");
  // 5835 × 4290 twips at 96 dots per inch.
  EXPECT_EQ(chooser.clientSize().cx, 389);
  EXPECT_EQ(chooser.clientSize().cy, 286);
  chooser.doubleClickFile(L"SEA.BMP");
  EXPECT_EQ(process.exitCode(), kExitWritten);
  EXPECT_EQ(stored(Key::LogoFileName), utf8(path(L"SEA.BMP")));
  EXPECT_EQ(stored(Key::BMPFileName), "old.bmp") << "the logo chooser writes only its own";
}

TEST_F(ChooserDriverTest, EmptyNameSaysSoAndWritesNothing) {
  ChooserProcess process(L"background", folder_);
  const Chooser chooser = open(process);
  chooser.pressOk();
  const std::optional<MessageBoxSeen> box = process.dismissBox(L"Skyfare 1");
  ASSERT_TRUE(box.has_value()) << "no message box";
  EXPECT_EQ(box->text, L"You must first select a file!");
  EXPECT_FALSE(box->icon);
  EXPECT_EQ(stored(), "old.bmp");
  EXPECT_TRUE(process.running()) << "the chooser stays open";

  chooser.clickFile(L"sky.bmp");
  chooser.pressCancel();
  EXPECT_EQ(process.exitCode(), kExitNothingWritten);
  EXPECT_EQ(stored(), "old.bmp") << "Cancel after a click";
}

TEST_F(ChooserDriverTest, OpeningAFolderListsItAndAnAncestorGoesBack) {
  ChooserProcess process(L"background", folder_);
  const Chooser chooser = open(process);
  chooser.doubleClickFolder(L"Pics");
  EXPECT_EQ(chooser.text(IDC_lblDirName), path(L"Pics"));
  EXPECT_EQ(chooser.files(), (std::vector<std::wstring>{L"deep.bmp"}));
  EXPECT_EQ(chooser.folders().back(), L"Pics");

  chooser.clickFile(L"deep.bmp");
  chooser.doubleClickFolder(folderName(folder_));
  EXPECT_EQ(chooser.text(IDC_lblDirName), folder_);
  EXPECT_EQ(chooser.files(), (std::vector<std::wstring>{L"SEA.BMP", L"sky.bmp"}));
  // The name box still holds deep.bmp, which is no file selected here: stored as typed.
  chooser.pressOk();
  EXPECT_EQ(process.exitCode(), kExitWritten);
  EXPECT_EQ(stored(), "deep.bmp");
}

TEST_F(ChooserDriverTest, ADriveThatCannotBeEnteredSaysSoAndTheDriveListGoesBack) {
  ChooserProcess process(L"background", folder_);
  const Chooser chooser = open(process);
  chooser.chooseDrive(kMissingDrive, true);
  const std::optional<MessageBoxSeen> box = process.dismissBox(L"Error");
  ASSERT_TRUE(box.has_value()) << "no message box titled Error";
  EXPECT_EQ(box->text, L"Drive error!");
  EXPECT_TRUE(box->icon);
  chooser.settle();
  EXPECT_EQ(chooser.drive(), L"C:");
  EXPECT_EQ(chooser.text(IDC_lblDirName), folder_);
  EXPECT_EQ(chooser.files(), (std::vector<std::wstring>{L"SEA.BMP", L"sky.bmp"}));

  // Another drive opens; coming back to this one returns to the folder the lists were in.
  chooser.chooseDrive(kRootDrive);
  EXPECT_EQ(chooser.text(IDC_lblDirName), L"R:\\");
  EXPECT_EQ(chooser.files(), (std::vector<std::wstring>{L"sky.bmp"}));
  chooser.chooseDrive(L"C:");
  EXPECT_EQ(chooser.text(IDC_lblDirName), folder_);
  EXPECT_EQ(stored(), "old.bmp");

  chooser.closeBox();
  // The host's exit code also tells that its current folder never moved.
  EXPECT_EQ(process.exitCode(), kExitNothingWritten);
}

}  // namespace
}  // namespace skyfare
